// SPDX-License-Identifier: MIT
// Whole-file reads and writes for the tool, with a reason a person can act on when they fail.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The file's bytes; nothing, with `error` set, when it cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string& error);

// Writes `content` to a temporary file beside `path` and renames it over `path`, so a reader
// never sees half a file. False, with `error` set, when any step fails.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view content,
                         std::string& error);

}  // namespace kv
