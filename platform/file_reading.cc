// SPDX-License-Identifier: MIT
#include "platform/file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/file_descriptor.h"

namespace kv {

namespace {

BoundedRead Refused(std::string problem) {
    return {std::nullopt, std::move(problem)};
}

std::string OpenProblem(int error) {
    if (error == ENOENT || error == ENOTDIR) {
        return "the file does not exist";
    }
    return "the file cannot be opened: " + std::generic_category().message(error);
}

std::string SizeText(std::uint64_t bytes) {
    return bytes % (1u << 20) == 0 ? std::to_string(bytes >> 20) + " MiB"
                                   : std::to_string(bytes) + " bytes";
}

// Reads until `bytes` is full or the file ends; the count read, or nothing on an error.
std::optional<std::size_t> ReadFully(int fd, std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

}  // namespace

BoundedRead ReadRegularFile(const std::filesystem::path& path, std::uint64_t limit) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        return Refused(OpenProblem(errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return Refused(OpenProblem(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return Refused("the path is a directory");
    }
    if (!S_ISREG(info.st_mode)) {
        return Refused("the path is not a regular file but a FIFO, a device or a socket");
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > limit) {
        return Refused("the file is larger than " + SizeText(limit));
    }
    // One byte more than the size: a file that grew while it was read is caught by the count.
    std::string bytes(static_cast<std::size_t>(size) + 1, '\0');
    const std::optional<std::size_t> read = ReadFully(file.get(), bytes);
    if (!read) {
        return Refused("the file cannot be read: " + std::generic_category().message(errno));
    }
    if (*read != size) {
        return Refused("the file changed while it was read");
    }
    bytes.resize(*read);
    return {std::move(bytes), {}};
}

}  // namespace kv
