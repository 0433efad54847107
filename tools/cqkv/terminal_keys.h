// SPDX-License-Identifier: MIT
// The keys a terminal in raw mode sends, decoded from its bytes.
#pragma once

#include <string_view>
#include <vector>

namespace kv {

enum class TerminalKeyKind {
    Character,  // a printable ASCII character other than space, in `character`
    Space,
    Enter,
    Backspace,
    Escape,
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Quit,   // Ctrl+C or Ctrl+D
    Other,  // anything else: a control byte, an unknown sequence, a non-ASCII character
};

struct TerminalKey {
    TerminalKeyKind kind = TerminalKeyKind::Other;
    char character = 0;
    bool operator==(const TerminalKey&) const = default;
};

// The keys in `bytes`, one read of the terminal. An escape byte that does not begin a "CSI" or
// "SS3" sequence is the Escape key on its own.
std::vector<TerminalKey> decodeTerminalKeys(std::string_view bytes);

}  // namespace kv
