// SPDX-License-Identifier: MIT
#include "platform/linux/file_log.h"

#include <cstdlib>
#include <ctime>

namespace kv {

FileLog::FileLog() {
    const char* const path = std::getenv("CQINPUTKV_LOG");
    if (path != nullptr && *path != '\0') {
        _file.reset(std::fopen(path, "a"));
    }
}

void FileLog::write(std::string_view line) {
    std::FILE* const out = _file ? _file.get() : stderr;
    char stamp[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) != nullptr) {
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", &local);
    }
    constexpr std::string_view kPrefix = "CQ_Input_KV: ";
    const std::string_view prefix = line.starts_with(kPrefix) ? "" : kPrefix;
    std::fprintf(out, "%s%.*s%.*s\n", stamp, static_cast<int>(prefix.size()), prefix.data(),
                 static_cast<int>(line.size()), line.data());
    std::fflush(out);
}

}  // namespace kv
