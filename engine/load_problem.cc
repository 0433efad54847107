// SPDX-License-Identifier: MIT
#include "engine/load_problem.h"

#include <system_error>

namespace cqinput {

LoadProblem unreadableFileProblem(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return {0, "the file does not exist"};
    }
    // A folder on the way that cannot be searched, or a loop of links, is no missing file.
    if (error) {
        return {0, "the file cannot be read: " + error.message()};
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return {0, "the path is a directory"};
    }
    return {0, "the file cannot be read, or changed while it was read"};
}

std::string quotedForProblem(std::string_view text) {
    constexpr std::size_t kShown = 32;
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string quoted = "\"";
    for (const char c : text.substr(0, kShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"') {
            quoted += c;
        } else {
            quoted += "\\x";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0xF];
        }
    }
    quoted += '"';
    if (text.size() > kShown) {
        quoted += "... (" + std::to_string(text.size()) + " bytes)";
    }
    return quoted;
}

std::string describeProblem(std::string_view file, const LoadProblem& problem) {
    std::string text(file);
    if (problem.line != 0) {
        text += ':' + std::to_string(problem.line);
    }
    return text + ": " + problem.reason;
}

}  // namespace cqinput
