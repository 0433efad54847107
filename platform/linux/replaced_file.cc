// SPDX-License-Identifier: MIT
#include "platform/linux/replaced_file.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "platform/file_descriptor.h"
#include "platform/file_reading.h"
#include "platform/private_directories.h"

namespace kv {

namespace {

// Writes everything and flushes it to the disk; 0 or an errno value.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
        } else if (errno != EINTR) {
            return errno;
        }
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

bool HoldsExactly(const std::filesystem::path& file, std::string_view bytes, std::uint64_t limit) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(file, error))) {
        return false;
    }
    const BoundedRead read = ReadRegularFile(file, limit);
    return read.bytes && *read.bytes == bytes;
}

int ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path folder = file.parent_path();
    if (!CreatePrivateDirectories(folder)) {
        // Only for the reason: the folders that could be made are made already.
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        return error ? error.value() : ENOTDIR;
    }
    std::string temporary = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    FileDescriptor fd(g_mkstemp_full(temporary.data(), O_WRONLY | O_CLOEXEC, 0644));
    if (fd.get() < 0) {
        return errno;
    }
    // Readable by the program that reads it, whatever the umask.
    int result = ::fchmod(fd.get(), 0644) == 0 ? WriteAll(fd.get(), bytes) : errno;
    // Closing is where a full disk may show first.
    if (!fd.close() && result == 0) {
        result = errno;
    }
    if (result == 0 && ::rename(temporary.c_str(), file.c_str()) != 0) {
        result = errno;
    }
    if (result != 0) {
        ::unlink(temporary.c_str());
    }
    return result;
}

}  // namespace kv
