// SPDX-License-Identifier: MIT
// Appending one line to the user dictionary.
#pragma once

#include <filesystem>
#include <string_view>

namespace kv {

enum class AppendResult { Appended, CannotOpen, WriteFailed };

// Appends `line` (ending in LF) to `file`, created when missing. When the file's last line has
// no line end (edited by hand), one is added first, so the two entries stay apart.
AppendResult KVAppendUserPhraseLine(const std::filesystem::path& file, std::string_view line);

}  // namespace kv
