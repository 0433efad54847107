// SPDX-License-Identifier: MIT
// Loading the table and the user dictionary for a command, with one clear line when they fail.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "engine/cin_table.h"

namespace kv {

// Loads the table at `path` into `table`; on failure writes one line naming the file and the
// reason to `err` (prefixed with `command`) and returns false.
bool loadTableOrReport(cqinput::CinTable& table, const std::filesystem::path& path,
                       std::string_view command, std::ostream& err);

// The same for a user dictionary; the table must be loaded. A missing file is an empty
// dictionary, as for the input method.
bool loadUserDictionaryOrReport(cqinput::CinTable& table, const std::filesystem::path& path,
                                std::string_view command, std::ostream& err);

// Loads `--table` (or the shipped table) and, when given, `--user`; false after reporting.
bool loadForCommand(cqinput::CinTable& table, const std::optional<std::string>& tablePath,
                    const std::optional<std::string>& userPath, std::string_view command,
                    std::ostream& err);

}  // namespace kv
