// SPDX-License-Identifier: MIT
// Where the tool finds the shipped table and the user dictionary.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr std::string_view kTableFileName = "CQInput-KV.cin";

// The places the shipped table may be, best first, for an executable in `executableDir`: beside
// the executable (the build tree copies it there), the installed data directory, and the source
// tree the tool was built from.
std::vector<std::filesystem::path> shippedTableCandidates(
    const std::filesystem::path& executableDir);

// The first of shippedTableCandidates() that exists, for the running executable; the source
// tree's copy when none does (the load then reports it missing).
std::filesystem::path defaultTablePath();

// $XDG_DATA_HOME (when set and absolute) or $HOME/.local/share, then
// where the input method keeps the user dictionary (KVUserDictionaryIn). Nothing when neither
// variable gives a directory.
std::optional<std::filesystem::path> userDictionaryPath(const char* xdgDataHome, const char* home);

}  // namespace kv
