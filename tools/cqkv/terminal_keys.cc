// SPDX-License-Identifier: MIT
#include "tools/cqkv/terminal_keys.h"

namespace kv {

namespace {

constexpr char kEscape = '\x1b';

TerminalKeyKind ArrowKind(char final) {
    switch (final) {
        case 'A':
            return TerminalKeyKind::Up;
        case 'B':
            return TerminalKeyKind::Down;
        case 'C':
            return TerminalKeyKind::Right;
        case 'D':
            return TerminalKeyKind::Left;
        default:
            return TerminalKeyKind::Other;
    }
}

// "ESC [ params final": arrows, and "5~" / "6~" for the page keys. `i` is past the "[".
TerminalKeyKind DecodeCsi(std::string_view bytes, std::size_t& i) {
    const std::size_t start = i;
    while (i < bytes.size() && (bytes[i] < 0x40 || bytes[i] > 0x7E)) {
        ++i;
    }
    if (i == bytes.size()) {
        return TerminalKeyKind::Other;
    }
    const std::string_view params = bytes.substr(start, i - start);
    const char final = bytes[i++];
    if (final == '~') {
        return params == "5"   ? TerminalKeyKind::PageUp
               : params == "6" ? TerminalKeyKind::PageDown
                               : TerminalKeyKind::Other;
    }
    return ArrowKind(final);
}

TerminalKey DecodeEscape(std::string_view bytes, std::size_t& i) {
    if (i < bytes.size() && bytes[i] == '[') {
        ++i;
        return {DecodeCsi(bytes, i)};
    }
    if (i + 1 < bytes.size() && bytes[i] == 'O') {
        const char final = bytes[i + 1];
        i += 2;
        return {ArrowKind(final)};
    }
    return {TerminalKeyKind::Escape};
}

TerminalKey DecodeSingle(char byte) {
    switch (byte) {
        case '\x03':
        case '\x04':
            return {TerminalKeyKind::Quit};
        case '\r':
        case '\n':
            return {TerminalKeyKind::Enter};
        case '\x7f':
        case '\b':
            return {TerminalKeyKind::Backspace};
        case ' ':
            return {TerminalKeyKind::Space};
        default:
            break;
    }
    if (byte > 0x20 && byte < 0x7F) {
        return {TerminalKeyKind::Character, byte};
    }
    return {TerminalKeyKind::Other};
}

}  // namespace

std::vector<TerminalKey> decodeTerminalKeys(std::string_view bytes) {
    std::vector<TerminalKey> keys;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char byte = bytes[i++];
        if (byte == kEscape) {
            keys.push_back(DecodeEscape(bytes, i));
        } else if ((static_cast<unsigned char>(byte) & 0xC0u) == 0xC0u) {
            // A non-ASCII character is one key, whatever its length.
            while (i < bytes.size() && (static_cast<unsigned char>(bytes[i]) & 0xC0u) == 0x80u) {
                ++i;
            }
            keys.push_back({TerminalKeyKind::Other});
        } else {
            keys.push_back(DecodeSingle(byte));
        }
    }
    return keys;
}

}  // namespace kv
