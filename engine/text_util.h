// SPDX-License-Identifier: MIT
// Byte-level helpers shared by the table and user dictionary readers.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace cqinput::detail {

// A copy of `s` with A to Z turned into a to z; every other byte, UTF-8 included, unchanged.
std::string lowerAscii(std::string_view s);

// `s` folded as lowerAscii folds it, without a copy when `s` holds no capital (the usual case):
// then `s` itself, else a view of `storage`, which receives the folded copy.
std::string_view foldedView(std::string_view s, std::string& storage);

// Cuts a line at its first space or tab: (key, value) with the value's outer blanks trimmed.
// Inline: it runs once for every line of a table.
inline std::pair<std::string_view, std::string_view> splitLine(std::string_view line) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t blank = 0;
    while (blank < line.size() && !isBlank(line[blank])) {
        ++blank;
    }
    if (blank == line.size()) {
        return {line, {}};
    }
    std::string_view value = line.substr(blank + 1);
    while (!value.empty() && isBlank(value.front())) {
        value.remove_prefix(1);
    }
    while (!value.empty() && isBlank(value.back())) {
        value.remove_suffix(1);
    }
    return {line.substr(0, blank), value};
}

// Well-formed UTF-8 as RFC 3629 defines it; the empty string is well-formed.
bool validUtf8(std::string_view s);

// "?" matches one byte, "*" any run of bytes; a "*" in `code` meets a "*" in the pattern as an
// ordinary byte first.
bool wildcardMatch(std::string_view pattern, std::string_view code);

// The position of the first CR or LF at or after `from`, or the size of `text`. Eight bytes at a
// time, as this scan is a good part of a table's load time.
inline std::size_t findLineEnd(std::string_view text, std::size_t from) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
        while (text.size() - from >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + from, 8);
            const std::uint64_t lf = word ^ (kOnes * '\n');
            const std::uint64_t cr = word ^ (kOnes * '\r');
            // The lowest high bit set marks the first byte that is LF or CR.
            const std::uint64_t hits = (((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighs;
            if (hits != 0) {
                return from + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
            }
            from += 8;
        }
    }
    while (from < text.size() && text[from] != '\n' && text[from] != '\r') {
        ++from;
    }
    return from;
}

// Calls `visit(line, lineNumber)` for every non-empty line of `text`. CR, LF and CR LF all end a
// line; a byte order mark at the start of any line is dropped. Line numbers count from 1 the way
// an editor shows them.
template <typename Visit>
void forEachLine(std::string_view text, Visit&& visit) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::size_t lineNumber = 1;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = findLineEnd(text, start);
        std::string_view line = text.substr(start, end - start);
        if (line.starts_with(kByteOrderMark)) {
            line.remove_prefix(kByteOrderMark.size());
        }
        if (!line.empty()) {
            visit(line, lineNumber);
        }
        if (end == text.size()) {
            break;
        }
        // CR LF is one line break for the count, two separators for the cut.
        if (text[end] == '\n' || end + 1 == text.size() || text[end + 1] != '\n') {
            ++lineNumber;
        }
        start = end + 1;
    }
}

}  // namespace cqinput::detail
