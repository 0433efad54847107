// SPDX-License-Identifier: MIT
// Appending one line to the user dictionary.
#pragma once

#include <filesystem>
#include <string_view>

namespace kv {

enum class AppendResult { Appended, CannotOpen, WriteFailed };

// Appends `line` (ending in LF) to `file`, created readable by the user alone when missing. When
// the file's last line has no line end (edited by hand), one is added first, so the two entries
// stay apart. A failed write leaves the file as it was. A path that is not a regular file (a
// FIFO, a device) cannot be opened.
AppendResult KVAppendUserPhraseLine(const std::filesystem::path& file, std::string_view line);

}  // namespace kv
