// SPDX-License-Identifier: MIT
// Where the user dictionary lives, made on the way when missing.
#pragma once

#include <filesystem>
#include <optional>

namespace kv {

// Where the user dictionary lives in the application support directory `support`:
// "CQ_Input_KV/CQ_Input_KV_User.txt". Nothing is made.
std::filesystem::path KVUserDictionaryIn(const std::filesystem::path& support);

// The user dictionary in the user's application support directory. Every call
// creates what is missing: the support directory, the "CQ_Input_KV" directory (0700) and an empty
// file (0600).
// A file that is already there is never touched. Nothing when the support directory can be
// neither found nor made.
std::optional<std::filesystem::path> KVUserDictionaryURL();

}  // namespace kv
