// SPDX-License-Identifier: MIT
#include "platform/linux/file_log.h"

#include <ctime>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>

namespace kv {

namespace {

std::string Stamped(std::string_view line) {
    char stamp[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) != nullptr) {
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", &local);
    }
    constexpr std::string_view kPrefix = "CQ_Input_KV: ";
    const std::string_view prefix = line.starts_with(kPrefix) ? "" : kPrefix;
    std::string text(stamp);
    text.append(prefix).append(EscapedLogLine(line)).append("\n");
    return text;
}

}  // namespace

FileLog::FileLog(std::filesystem::path file, std::uintmax_t limit)
    : _file(std::move(file)), _limit(limit) {}

void FileLog::write(std::string_view line) {
    const std::string text = Stamped(line);
    std::error_code error;
    std::filesystem::create_directories(_file.parent_path(), error);
    // Opened for each line: lines are rare, and a file moved aside by another engine process
    // (one per daemon restart may overlap) is then never written after its move.
    const std::uintmax_t size = std::filesystem::file_size(_file, error);
    if (!error && size + text.size() > _limit) {
        std::filesystem::rename(_file, _file.string() + ".1", error);
    }
    std::ofstream out(_file, std::ios::app);
    out << text;
}

}  // namespace kv
