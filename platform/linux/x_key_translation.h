// SPDX-License-Identifier: MIT
// Key events as X11's frameworks hand them to an input method (evdev key code, key symbol, X
// modifier state; IBus and fcitx5 alike) turned into the events the controller understands: the
// ANSI keyboard's virtual key codes, the US layout's characters and modifier-change events for
// Shift and Caps Lock. Pure arithmetic, so the fuzz target and the tests need no daemon.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/key_event.h"

namespace kv {

// X's modifier bits of `state`, as far as the translation reads them; IBus marks a release with
// bit 30, and an fcitx5 release is given the same bit.
namespace XKeyState {
inline constexpr std::uint32_t Shift = 1u << 0;
inline constexpr std::uint32_t Lock = 1u << 1;
inline constexpr std::uint32_t Control = 1u << 2;
inline constexpr std::uint32_t Alt = 1u << 3;
inline constexpr std::uint32_t Super = 1u << 6;
inline constexpr std::uint32_t SuperVirtual = 1u << 26;
inline constexpr std::uint32_t Release = 1u << 30;
}  // namespace XKeyState

struct XKeyInput {
    std::uint32_t keyval = 0;
    std::uint32_t keycode = 0;  // evdev: the X key code less 8
    std::uint32_t state = 0;
    char32_t unicode = 0;  // what the key symbol types; 0 for none
};

// The event to offer the controller, or nothing for a press or release the controller never
// sees (the release of an ordinary key, a key unknown to the ANSI keyboard).
std::optional<KeyEvent> TranslateXKey(const XKeyInput& input);

// The evdev key code of the ANSI keyboard's virtual key `keyCode`, or 0 for none.
std::uint32_t EvdevCodeOfVirtualKey(std::uint16_t keyCode);

}  // namespace kv
