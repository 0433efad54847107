// SPDX-License-Identifier: MIT
// Reading a whole file together with the stamps that tell a later check whether it changed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

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

// The size, then the last-write time; nothing when either query fails. Never throws.
std::optional<FileStamp> queryStamp(const std::filesystem::path& path);

// The file's bytes, provided it could be opened and read whole and its stamp was the same
// before and after the read (a file rewritten meanwhile gives nothing).
std::optional<FileSnapshot> readStableFile(const std::filesystem::path& path);

}  // namespace cqinput::detail
