// SPDX-License-Identifier: MIT
#include "platform/log.h"

#include <cstdio>

namespace kv {

namespace {

// The length of the well-formed UTF-8 sequence of two to four bytes at the start of `text`, or 0.
std::size_t SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xC2 && lead <= 0xDF ? 2
                                                              : 0;
    if (length == 0 || text.size() < length) {
        return 0;
    }
    // The second byte's range also rules out overlong forms, surrogates and code points past
    // U+10FFFF.
    const unsigned char low = (lead == 0xE0) ? 0xA0 : (lead == 0xF0) ? 0x90 : 0x80;
    const unsigned char high = (lead == 0xED) ? 0x9F : (lead == 0xF4) ? 0x8F : 0xBF;
    if (byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::string EscapedLogLine(std::string_view line) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(line.size());
    while (!line.empty()) {
        const auto byte = static_cast<unsigned char>(line.front());
        std::size_t take = 1;
        if (byte >= 0x80) {
            take = SequenceLength(line);
        }
        if ((byte >= 0x20 && byte != 0x7F && byte < 0x80) || take > 1) {
            out.append(line.substr(0, take));
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
            take = 1;
        }
        line.remove_prefix(take);
    }
    return out;
}

void StandardErrorLog::write(std::string_view line) {
    const std::string safe = EscapedLogLine(line);
    std::fprintf(stderr, "CQ_Input_KV: %.*s\n", static_cast<int>(safe.size()), safe.data());
}

}  // namespace kv
