// SPDX-License-Identifier: MIT
#include "platform/linux/x_key_translation.h"

#include <linux/input-event-codes.h>

#include <array>

#include "platform/key_codes.h"

namespace kv {

namespace {

namespace K = KeyCode;

struct KeyInfo {
    std::uint16_t virtualKey = 0;
    char16_t plain = 0;    // the US layout's character without Shift
    char16_t shifted = 0;  // and with Shift
    bool known = false;
};

constexpr KeyInfo Key(std::uint16_t virtualKey, char16_t plain) {
    return KeyInfo{virtualKey, plain, plain, true};
}

// A key of the main block, with the characters of the US layout.
constexpr KeyInfo Printable(std::uint16_t virtualKey) {
    for (const USPrintableKey& key : kUSPrintableKeys) {
        if (key.keyCode == virtualKey) {
            return KeyInfo{virtualKey, static_cast<char16_t>(key.plain),
                           static_cast<char16_t>(key.shifted), true};
        }
    }
    return KeyInfo{};
}

// Function keys answer with the private-use characters the ANSI keyboard gives them.
constexpr std::array<KeyInfo, 128> MakeTable() {
    std::array<KeyInfo, 128> t{};
    t[KEY_ESC] = Key(K::Escape, 0x1B);
    // The main block, row by row.
    constexpr std::array<std::uint16_t, 12> digitRow{K::Digit1, K::Digit2, K::Digit3, K::Digit4,
                                                     K::Digit5, K::Digit6, K::Digit7, K::Digit8,
                                                     K::Digit9, K::Digit0, K::Minus,  K::Equal};
    constexpr std::array<std::uint16_t, 12> topRow{K::Q, K::W, K::E,           K::R,
                                                   K::T, K::Y, K::U,           K::I,
                                                   K::O, K::P, K::LeftBracket, K::RightBracket};
    constexpr std::array<std::uint16_t, 12> homeRow{
        K::A, K::S, K::D, K::F, K::G, K::H, K::J, K::K, K::L, K::Semicolon, K::Quote, K::Grave};
    constexpr std::array<std::uint16_t, 10> bottomRow{K::Z, K::X, K::C,     K::V,      K::B,
                                                      K::N, K::M, K::Comma, K::Period, K::Slash};
    for (std::size_t i = 0; i < 12; ++i) {
        t[KEY_1 + i] = Printable(digitRow[i]);
        t[KEY_Q + i] = Printable(topRow[i]);
        t[KEY_A + i] = Printable(homeRow[i]);
    }
    for (std::size_t i = 0; i < bottomRow.size(); ++i) {
        t[KEY_Z + i] = Printable(bottomRow[i]);
    }
    t[KEY_BACKSLASH] = Printable(K::Backslash);
    t[KEY_BACKSPACE] = Key(K::Delete, 0x7F);
    t[KEY_TAB] = Key(K::Tab, u'\t');
    t[KEY_ENTER] = Key(K::Return, u'\r');
    t[KEY_KPASTERISK] = Key(K::KeypadMultiply, u'*');
    t[KEY_SPACE] = Key(K::Space, u' ');
    constexpr std::array<std::uint16_t, 10> functionKeys{K::F1, K::F2, K::F3, K::F4, K::F5,
                                                         K::F6, K::F7, K::F8, K::F9, K::F10};
    for (int i = 0; i < 10; ++i) {
        t[KEY_F1 + i] = Key(functionKeys[i], static_cast<char16_t>(0xF704 + i));
    }
    t[KEY_NUMLOCK] = Key(K::KeypadClear, 0xF739);
    constexpr std::array<std::uint16_t, 13> keypadKeys{
        K::Keypad7, K::Keypad8, K::Keypad9,      K::KeypadMinus, K::Keypad4,
        K::Keypad5, K::Keypad6, K::KeypadPlus,   K::Keypad1,     K::Keypad2,
        K::Keypad3, K::Keypad0, K::KeypadDecimal};
    constexpr char16_t keypadText[] = u"789-456+1230.";
    for (int i = 0; i < 13; ++i) {
        t[KEY_KP7 + i] = Key(keypadKeys[i], keypadText[i]);
    }
    t[KEY_F11] = Key(K::F11, 0xF70E);
    t[KEY_F12] = Key(K::F12, 0xF70F);
    t[KEY_KPENTER] = Key(K::KeypadEnter, 0x03);
    t[KEY_KPSLASH] = Key(K::KeypadDivide, u'/');
    t[KEY_HOME] = Key(K::Home, 0xF729);
    t[KEY_UP] = Key(K::UpArrow, 0xF700);
    t[KEY_PAGEUP] = Key(K::PageUp, 0xF72C);
    t[KEY_LEFT] = Key(K::LeftArrow, 0xF702);
    t[KEY_RIGHT] = Key(K::RightArrow, 0xF703);
    t[KEY_END] = Key(K::End, 0xF72B);
    t[KEY_DOWN] = Key(K::DownArrow, 0xF701);
    t[KEY_PAGEDOWN] = Key(K::PageDown, 0xF72D);
    t[KEY_INSERT] = Key(K::Help, 0xF727);
    t[KEY_DELETE] = Key(K::ForwardDelete, 0xF728);
    t[KEY_KPEQUAL] = Key(K::KeypadEquals, u'=');
    return t;
}

constexpr std::array<KeyInfo, 128> kKeys = MakeTable();

struct ModifierKey {
    std::uint32_t evdev;
    std::uint16_t virtualKey;
    std::uint64_t flag;
};

constexpr std::array<ModifierKey, 9> kModifierKeys{{
    {KEY_LEFTSHIFT, K::Shift, ModifierFlags::Shift},
    {KEY_RIGHTSHIFT, K::RightShift, ModifierFlags::Shift},
    {KEY_CAPSLOCK, K::CapsLock, ModifierFlags::CapsLock},
    {KEY_LEFTCTRL, K::Control, ModifierFlags::Control},
    {KEY_RIGHTCTRL, K::RightControl, ModifierFlags::Control},
    {KEY_LEFTALT, K::Option, ModifierFlags::Option},
    {KEY_RIGHTALT, K::RightOption, ModifierFlags::Option},
    {KEY_LEFTMETA, K::Command, ModifierFlags::Command},
    {KEY_RIGHTMETA, K::RightCommand, ModifierFlags::Command},
}};

std::uint64_t FlagsOfState(std::uint32_t state) {
    std::uint64_t flags = 0;
    if ((state & XKeyState::Shift) != 0) {
        flags |= ModifierFlags::Shift;
    }
    if ((state & XKeyState::Lock) != 0) {
        flags |= ModifierFlags::CapsLock;
    }
    if ((state & XKeyState::Control) != 0) {
        flags |= ModifierFlags::Control;
    }
    if ((state & XKeyState::Alt) != 0) {
        flags |= ModifierFlags::Option;
    }
    if ((state & (XKeyState::Super | XKeyState::SuperVirtual)) != 0) {
        flags |= ModifierFlags::Command;
    }
    return flags;
}

// The state is that before the event: a press adds the key's own bit, a release takes it away.
// Caps Lock is the exception: one event per press, its light already tells the new state.
std::optional<KeyEvent> ModifierChange(const ModifierKey& key, std::uint32_t state) {
    const bool release = (state & XKeyState::Release) != 0;
    std::uint64_t flags = FlagsOfState(state);
    if (key.flag == ModifierFlags::CapsLock) {
        if (release) {
            return std::nullopt;
        }
        flags ^= ModifierFlags::CapsLock;
    } else if (release) {
        flags &= ~key.flag;
    } else {
        flags |= key.flag;
    }
    return KeyEvent{EventType::FlagsChanged, key.virtualKey, flags, {}, {}};
}

bool IsPrintable(char32_t c) {
    return c >= 0x20 && c != 0x7F && c < 0xD800;
}

}  // namespace

std::optional<KeyEvent> TranslateXKey(const XKeyInput& input) {
    for (const ModifierKey& key : kModifierKeys) {
        if (key.evdev == input.keycode) {
            return ModifierChange(key, input.state);
        }
    }
    if ((input.state & XKeyState::Release) != 0 || input.keycode >= kKeys.size() ||
        !kKeys[input.keycode].known) {
        return std::nullopt;
    }
    const KeyInfo& key = kKeys[input.keycode];
    KeyEvent event;
    event.keyCode = key.virtualKey;
    event.modifierFlags = FlagsOfState(input.state);
    const bool shift = (input.state & XKeyState::Shift) != 0;
    event.charactersIgnoringModifiers = std::u16string(1, shift ? key.shifted : key.plain);
    const bool control = (input.state & XKeyState::Control) != 0;
    if (control && key.plain >= u'a' && key.plain <= u'z') {
        event.characters = std::u16string(1, static_cast<char16_t>(key.plain - u'a' + 1));
    } else if (IsPrintable(input.unicode) && input.unicode < 0x10000 && key.plain >= 0x20 &&
               key.plain < 0x7F) {
        event.characters = std::u16string(1, static_cast<char16_t>(input.unicode));
    } else {
        event.characters = event.charactersIgnoringModifiers;
    }
    return event;
}

std::uint32_t EvdevCodeOfVirtualKey(std::uint16_t keyCode) {
    for (std::uint32_t code = 0; code < kKeys.size(); ++code) {
        if (kKeys[code].known && kKeys[code].virtualKey == keyCode) {
            return code;
        }
    }
    return 0;
}

}  // namespace kv
