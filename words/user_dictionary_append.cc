// SPDX-License-Identifier: MIT
#include "words/user_dictionary_append.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <utility>

#include "platform/file_descriptor.h"

namespace kv {

namespace {

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Whether the file's last byte ends a line (an empty file counts as ended); nothing when it
// cannot be read.
std::optional<bool> EndsWithLineEnd(int fd, off_t size) {
    if (size == 0) {
        return true;
    }
    char last = 0;
    if (::pread(fd, &last, 1, size - 1) != 1) {
        return std::nullopt;
    }
    return last == '\n' || last == '\r';
}

}  // namespace

AppendResult KVAppendUserPhraseLine(const std::filesystem::path& file, std::string_view line) {
    // Read and write: the last byte is looked at. Never truncated, created private when
    // missing; O_NONBLOCK so that a FIFO put there is refused instead of waited on.
    FileDescriptor out(::open(
        file.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600));
    if (out.get() < 0) {
        return AppendResult::CannotOpen;
    }
    struct stat info {};
    if (::fstat(out.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return AppendResult::CannotOpen;
    }
    const off_t oldSize = info.st_size;
    const std::optional<bool> ended = EndsWithLineEnd(out.get(), oldSize);
    if (!ended) {
        return AppendResult::WriteFailed;
    }
    std::string text = *ended ? std::string() : std::string("\n");
    text += line;
    // The line reaches the disk before success is told; on a full disk or any other error the
    // part that landed is cut off again, so the file stays exactly as it was: half a line would
    // be a wrong phrase, or half a character that refuses the whole file.
    if (!WriteAll(out.get(), text) || ::fsync(out.get()) != 0) {
        (void)::ftruncate(out.get(), oldSize);
        return AppendResult::WriteFailed;
    }
    return out.close() ? AppendResult::Appended : AppendResult::WriteFailed;
}

}  // namespace kv
