// SPDX-License-Identifier: MIT
// Reading a whole file together with the stamps that tell a later check whether it changed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "engine/load_problem.h"

namespace cqinput::detail {

struct FileStamp {
    std::uint64_t size = 0;
    std::filesystem::file_time_type writeTime{};
    bool operator==(const FileStamp&) const = default;
};

struct FileSnapshot {
    std::string text;
    FileStamp stamp;
};

struct StableRead {
    std::optional<FileSnapshot> snapshot;
    LoadProblem problem;  // why there is no snapshot
};

// The size, then the last-write time; nothing when either query fails. Never throws.
std::optional<FileStamp> queryStamp(const std::filesystem::path& path);

// The bytes of the regular file at `path`, at most kLargestTextFile of them, provided its stamp
// was the same before and after the read (a file rewritten meanwhile is refused). A FIFO or a
// device there is refused without waiting.
StableRead readStableFile(const std::filesystem::path& path);

}  // namespace cqinput::detail
