// SPDX-License-Identifier: MIT
// An open POSIX file descriptor, closed when it goes out of scope.
#pragma once

#include <unistd.h>

#include <utility>

namespace kv {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : _fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (_fd >= 0) {
            ::close(_fd);
        }
    }
    int get() const { return _fd; }
    // Closes now, so that an error of the close counts (a full disk may report it only
    // there); false on one.
    bool close() { return ::close(std::exchange(_fd, -1)) == 0; }

  private:
    int _fd;
};

}  // namespace kv
