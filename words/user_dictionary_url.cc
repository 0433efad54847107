// SPDX-License-Identifier: MIT
#include "words/user_dictionary_url.h"

#include <fstream>

#include "platform/services.h"

namespace kv {

namespace {

constexpr const char* kDirectoryName = "CQ_Input_KV";
constexpr const char* kFileName = "CQ_Input_KV_User.txt";

// Creates `file` empty unless something is already there. Append mode never truncates, so a
// dictionary that appeared since the check cannot be lost.
void CreateEmptyFile(const std::filesystem::path& file) {
    std::error_code error;
    // Anything there (a dangling link too), or a failed query, is left alone.
    if (std::filesystem::symlink_status(file, error).type() !=
        std::filesystem::file_type::not_found) {
        return;
    }
    const std::ofstream created(file, std::ios::binary | std::ios::app);
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
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    CreateEmptyFile(file);
    return file;
}

}  // namespace kv
