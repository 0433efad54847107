// SPDX-License-Identifier: MIT
#include "words/user_dictionary_url.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/private_directories.h"
#include "platform/services.h"

namespace kv {

namespace {

constexpr const char* kDirectoryName = "CQ_Input_KV";
constexpr const char* kFileName = "CQ_Input_KV_User.txt";

// Creates `file` empty, readable by the user alone, unless something is already there: O_EXCL
// never opens what exists, a dangling link included, so a dictionary that appeared since the
// check cannot be lost, and a file there keeps its mode.
void CreateEmptyFile(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd >= 0) {
        ::close(fd);
    }
}

}  // namespace

std::filesystem::path KVUserDictionaryIn(const std::filesystem::path& support) {
    return support / kDirectoryName / kFileName;
}

std::optional<std::filesystem::path> KVUserDictionaryURL() {
    const std::optional<std::filesystem::path> support = locations().applicationSupportDirectory();
    if (!support) {
        return std::nullopt;
    }
    const std::filesystem::path file = KVUserDictionaryIn(*support);
    CreatePrivateDirectories(file.parent_path());
    CreateEmptyFile(file);
    return file;
}

}  // namespace kv
