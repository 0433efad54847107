// SPDX-License-Identifier: MIT
// The key events the US keyboard layout gives, with the ANSI virtual key codes and modifier bits,
// for replaying a session from text.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/key_event.h"

namespace kv {

// The key-down of the key `name` with `modifiers` (ModifierFlags bits): a letter "a" to "z", a
// digit, a character of the main block ("!" and the other shifted symbols add Shift), or one of
// "Space", "Return", "Escape", "Delete", "Tab", "Left", "Right", "Up", "Down", "PageUp",
// "PageDown", "KP_0" to "KP_9", "KP_Enter". Nothing for any other name.
std::optional<KeyEvent> usKeyDown(std::string_view name, std::uint64_t modifiers = 0);

// The modifier changes of the left Shift key going down and coming up, and of one Caps Lock
// press that leaves Caps Lock `on`.
KeyEvent shiftDownEvent();
KeyEvent shiftUpEvent();
KeyEvent capsLockEvent(bool on);

}  // namespace kv
