// SPDX-License-Identifier: MIT
// Reading a whole file from the user's folders, where a FIFO, a device or a file far too large
// may sit where a text file should: opened without blocking, checked to be a regular file, and
// read up to a bound. Every reader of the dictionary, the table and the settings goes through it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kv {

// Larger than any real table or phrase file; what stops a reader from eating all memory.
inline constexpr std::uint64_t kLargestTextFile = std::uint64_t{64} << 20;

struct BoundedRead {
    std::optional<std::string> bytes;  // nothing when the file was refused
    std::string problem;               // why it was refused, for a person; empty otherwise
};

// The bytes of the regular file at `path` (a symbolic link is followed). Refused, with the
// reason: a path that cannot be opened, that is not a regular file, a file larger than `limit`
// bytes, and one whose size changed while it was read.
BoundedRead ReadRegularFile(const std::filesystem::path& path, std::uint64_t limit);

}  // namespace kv
