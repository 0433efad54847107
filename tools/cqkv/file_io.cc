// SPDX-License-Identifier: MIT
#include "tools/cqkv/file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kv {

namespace {

std::string ReasonFor(const std::filesystem::path& path) {
    std::error_code code;
    const std::filesystem::file_status status = std::filesystem::status(path, code);
    if (status.type() == std::filesystem::file_type::not_found) {
        return "the file does not exist";
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return "the path is a directory";
    }
    return errno != 0 ? std::strerror(errno) : "the file cannot be read";
}

}  // namespace

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string& error) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::error_code code;
    if (!in || std::filesystem::is_directory(path, code)) {
        error = ReasonFor(path);
        return std::nullopt;
    }
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        error = "the file cannot be read";
        return std::nullopt;
    }
    return text;
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view content,
                         std::string& error) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            error = "cannot write " + temporary.string();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code code;
    std::filesystem::rename(temporary, path, code);
    if (code) {
        error = "cannot replace " + path.string() + ": " + code.message();
        std::filesystem::remove(temporary, code);
        return false;
    }
    return true;
}

}  // namespace kv
