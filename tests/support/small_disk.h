// SPDX-License-Identifier: MIT
// A real small file system for a full disk or a read-only folder: a tmpfs of a few pages in a
// mount namespace of the test's process alone (CI runs as root, which mounting needs).
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace kvtest {

class SmallDisk {
  public:
    explicit SmallDisk(const std::filesystem::path& at) : _at(at) {
        std::filesystem::create_directories(at);
        EXPECT_EQ(::unshare(CLONE_NEWNS), 0) << "mounting needs root, as CI runs";
        // Nothing mounted here may reach the system's namespace.
        EXPECT_EQ(::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr), 0);
        _mounted = ::mount("tmpfs", at.c_str(), "tmpfs", 0, "size=64k") == 0;
        EXPECT_TRUE(_mounted);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    ~SmallDisk() {
        if (_mounted) {
            ::umount2(_at.c_str(), MNT_DETACH);
        }
    }

    // Takes every free page.
    void fill() const {
        const int fd = ::open((_at / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const std::string page(4096, 'x');
        while (::write(fd, page.data(), page.size()) > 0) {
        }
        ::close(fd);
    }
    // What a read-only folder is to root, whom permissions do not stop.
    void makeReadOnly() const {
        EXPECT_EQ(::mount(nullptr, _at.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    }

  private:
    std::filesystem::path _at;
    bool _mounted = false;
};

}  // namespace kvtest
