// SPDX-License-Identifier: MIT
#include "engine/text_util.h"

#include <algorithm>
#include <cstdint>

namespace cqinput::detail {

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 0x20);
        }
    }
    return out;
}

std::string_view foldedView(std::string_view s, std::string& storage) {
    if (std::none_of(s.begin(), s.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
        return s;
    }
    storage = lowerAscii(s);
    return storage;
}

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<std::uint8_t>(s[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        std::uint32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, codePoint = lead & 0x1Fu, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, codePoint = lead & 0x0Fu, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, codePoint = lead & 0x07u, minimum = 0x10000;
        } else {
            return false;  // a stray continuation byte, an overlong lead or a byte above F4
        }
        if (s.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(s[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        if (codePoint < minimum || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

bool wildcardMatch(std::string_view pattern, std::string_view code) {
    const std::size_t m = pattern.size();
    const std::size_t n = code.size();
    std::size_t i = 0;
    std::size_t j = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t starCode = 0;
    while (j < n) {
        if (i < m && (pattern[i] == '?' || pattern[i] == code[j])) {
            ++i;
            ++j;
        } else if (i < m && pattern[i] == '*') {
            starAt = i;
            starCode = j;
            ++i;
        } else if (starAt != std::string_view::npos) {
            j = ++starCode;
            i = starAt + 1;
        } else {
            return false;
        }
    }
    while (i < m && pattern[i] == '*') {
        ++i;
    }
    return i == m;
}

}  // namespace cqinput::detail
