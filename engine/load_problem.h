// SPDX-License-Identifier: MIT
// Why a file was refused: what a person reads to find the line to mend.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace cqinput {

struct LoadProblem {
    std::size_t line = 0;  // 0 when the whole file is at fault
    std::string reason;
    bool operator==(const LoadProblem&) const = default;
};

// Why `path` could not be read whole: missing, a directory, or unreadable (or rewritten while it
// was read).
LoadProblem unreadableFileProblem(const std::filesystem::path& path);

// `text` in double quotes for a reason: every byte outside printable ASCII written as \xNN, and
// cut after a few dozen bytes (with the full length said), so a refused line can neither carry
// terminal escapes into a log nor flood it.
std::string quotedForProblem(std::string_view text);

// "FILE:LINE: reason", or "FILE: reason" when the whole file is at fault, as compilers and
// editors name a place in a file.
std::string describeProblem(std::string_view file, const LoadProblem& problem);

}  // namespace cqinput
