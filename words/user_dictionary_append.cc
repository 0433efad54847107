// SPDX-License-Identifier: MIT
#include "words/user_dictionary_append.h"

#include <fstream>
#include <optional>
#include <string>

namespace kv {

namespace {

// True when the file is missing or empty or its last byte already ends a line; nothing when it
// cannot be read.
std::optional<bool> EndsWithLineEnd(const std::filesystem::path& file) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        return std::filesystem::exists(file, error) ? std::nullopt : std::optional(true);
    }
    if (size == 0) {
        return true;
    }
    std::ifstream in(file, std::ios::binary);
    char last = 0;
    if (!in.seekg(-1, std::ios::end) || !in.get(last)) {
        return std::nullopt;
    }
    return last == '\n' || last == '\r';
}

}  // namespace

AppendResult KVAppendUserPhraseLine(const std::filesystem::path& file, std::string_view line) {
    // Append mode creates a missing file, never truncates, and puts every write at the end.
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out.is_open()) {
        return AppendResult::CannotOpen;
    }
    const std::optional<bool> ended = EndsWithLineEnd(file);
    if (!ended) {
        return AppendResult::WriteFailed;
    }
    std::string text = *ended ? std::string() : std::string("\n");
    text += line;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    // Closing flushes; a failure there is a failed write as well.
    out.close();
    return out.fail() ? AppendResult::WriteFailed : AppendResult::Appended;
}

}  // namespace kv
