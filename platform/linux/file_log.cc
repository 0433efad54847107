// SPDX-License-Identifier: MIT
#include "platform/linux/file_log.h"

#include <cstdlib>
#include <ctime>
#include <iostream>

namespace kv {

FileLog::FileLog() {
    const char* const path = std::getenv("CQINPUTKV_LOG");
    if (path != nullptr && *path != '\0') {
        _file.open(path, std::ios::app);
    }
}

void FileLog::write(std::string_view line) {
    char stamp[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) != nullptr) {
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", &local);
    }
    constexpr std::string_view kPrefix = "CQ_Input_KV: ";
    const std::string_view prefix = line.starts_with(kPrefix) ? "" : kPrefix;
    std::ostream& out = _file.is_open() ? static_cast<std::ostream&>(_file) : std::cerr;
    out << stamp << prefix << EscapedLogLine(line) << std::endl;
}

}  // namespace kv
