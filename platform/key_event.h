// SPDX-License-Identifier: MIT
// One key event as the input method receives it: macOS virtual key codes and modifier bits.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

enum class EventType : int {
    KeyDown = 10,
    FlagsChanged = 12,  // a modifier key went down or up
};

namespace ModifierFlags {
inline constexpr std::uint64_t CapsLock = 0x10000;
inline constexpr std::uint64_t Shift = 0x20000;
inline constexpr std::uint64_t Control = 0x40000;
inline constexpr std::uint64_t Option = 0x80000;
inline constexpr std::uint64_t Command = 0x100000;
}  // namespace ModifierFlags

struct KeyEvent {
    EventType type = EventType::KeyDown;
    std::uint16_t keyCode = 0;  // the ANSI keyboard's virtual key code, whatever the layout
    std::uint64_t modifierFlags = 0;
    std::u16string characters;  // the text the key produces with all modifiers
    // The text it produces ignoring every modifier but Shift.
    std::u16string charactersIgnoringModifiers;

    bool operator==(const KeyEvent&) const = default;
};

}  // namespace kv
