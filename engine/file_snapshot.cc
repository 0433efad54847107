// SPDX-License-Identifier: MIT
#include "engine/file_snapshot.h"

#include <fstream>
#include <system_error>

namespace cqinput::detail {

std::optional<FileStamp> queryStamp(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    const auto writeTime = std::filesystem::last_write_time(path, error);
    if (error) {
        return std::nullopt;
    }
    return FileStamp{size, writeTime};
}

std::optional<FileSnapshot> readStableFile(const std::filesystem::path& path) {
    const std::optional<FileStamp> before = queryStamp(path);
    if (!before) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    FileSnapshot snapshot;
    snapshot.text.resize(before->size);
    in.read(snapshot.text.data(), static_cast<std::streamsize>(snapshot.text.size()));
    if (in.bad() || static_cast<std::uint64_t>(in.gcount()) != before->size ||
        in.peek() != std::ifstream::traits_type::eof()) {
        return std::nullopt;
    }
    const std::optional<FileStamp> after = queryStamp(path);
    if (!after || *after != *before) {
        return std::nullopt;
    }
    snapshot.stamp = *after;
    return snapshot;
}

}  // namespace cqinput::detail
