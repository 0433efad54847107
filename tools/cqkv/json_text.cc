// SPDX-License-Identifier: MIT
#include "tools/cqkv/json_text.h"

#include <cstdint>

#include "engine/text_util.h"

namespace kv {

namespace {

constexpr std::string_view kReplacement = "\\ufffd";

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
std::size_t SequenceLength(std::string_view text) {
    const auto lead = static_cast<std::uint8_t>(text.front());
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (length > text.size() || !cqinput::detail::validUtf8(text.substr(0, length))) {
        return 0;
    }
    return length;
}

void AppendAscii(std::string& out, char c) {
    static constexpr char kHex[] = "0123456789abcdef";
    switch (c) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte < 0x20 || byte == 0x7F) {
        out += "\\u00";
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    } else {
        out += c;
    }
}

}  // namespace

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<std::uint8_t>(text[i]) < 0x80) {
            AppendAscii(out, text[i]);
            ++i;
            continue;
        }
        const std::size_t length = SequenceLength(text.substr(i));
        if (length == 0) {
            out += kReplacement;
            ++i;
        } else {
            out += text.substr(i, length);
            i += length;
        }
    }
    out += '"';
    return out;
}

}  // namespace kv
