// SPDX-License-Identifier: MIT
#include "platform/private_directories.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

namespace kv {

bool CreatePrivateDirectories(const std::filesystem::path& directory) {
    std::error_code error;
    if (std::filesystem::is_directory(directory, error)) {
        return true;
    }
    const std::filesystem::path parent = directory.parent_path();
    if (!parent.empty() && parent != directory && !CreatePrivateDirectories(parent)) {
        return false;
    }
    // mkdir applies the umask, which only takes bits away from 0700.
    if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return std::filesystem::is_directory(directory, error);
}

}  // namespace kv
