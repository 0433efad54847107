// SPDX-License-Identifier: MIT
#include "engine/file_snapshot.h"

#include <system_error>

#include "platform/file_reading.h"

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

StableRead readStableFile(const std::filesystem::path& path) {
    const std::optional<FileStamp> before = queryStamp(path);
    kv::BoundedRead read = kv::ReadRegularFile(path, kv::kLargestTextFile);
    if (!read.bytes) {
        return {std::nullopt, LoadProblem{0, std::move(read.problem)}};
    }
    const std::optional<FileStamp> after = queryStamp(path);
    if (!before || !after || *after != *before || after->size != read.bytes->size()) {
        return {std::nullopt, LoadProblem{0, "the file changed while it was read"}};
    }
    return {FileSnapshot{std::move(*read.bytes), *after}, {}};
}

}  // namespace cqinput::detail
