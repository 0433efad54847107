// SPDX-License-Identifier: MIT
#include "testing/us_key_events.h"

#include <array>

#include "platform/key_codes.h"

namespace kv {

namespace {

namespace K = KeyCode;

// A key that types no character of the main block; `text` is what the desktop reports for it
// (control characters, or the function keys' private characters).
struct NamedKey {
    std::string_view name;
    std::uint16_t keyCode;
    char16_t text;
};

constexpr std::array<NamedKey, 22> kNamedKeys{{
    {"Space", K::Space, u' '},
    {"Return", K::Return, u'\r'},
    {"Escape", K::Escape, u'\x1b'},
    {"Delete", K::Delete, u'\x7f'},
    {"Tab", K::Tab, u'\t'},
    {"Left", K::LeftArrow, u'\uF702'},
    {"Right", K::RightArrow, u'\uF703'},
    {"Up", K::UpArrow, u'\uF700'},
    {"Down", K::DownArrow, u'\uF701'},
    {"PageUp", K::PageUp, u'\uF72C'},
    {"PageDown", K::PageDown, u'\uF72D'},
    {"KP_0", K::Keypad0, u'0'},
    {"KP_1", K::Keypad1, u'1'},
    {"KP_2", K::Keypad2, u'2'},
    {"KP_3", K::Keypad3, u'3'},
    {"KP_4", K::Keypad4, u'4'},
    {"KP_5", K::Keypad5, u'5'},
    {"KP_6", K::Keypad6, u'6'},
    {"KP_7", K::Keypad7, u'7'},
    {"KP_8", K::Keypad8, u'8'},
    {"KP_9", K::Keypad9, u'9'},
    {"KP_Enter", K::KeypadEnter, u'\x03'},
}};

KeyEvent KeyDown(std::uint16_t keyCode, std::uint64_t modifiers, char16_t ignoring,
                 char16_t typed) {
    KeyEvent event;
    event.type = EventType::KeyDown;
    event.keyCode = keyCode;
    event.modifierFlags = modifiers;
    event.charactersIgnoringModifiers = std::u16string(1, ignoring);
    event.characters = std::u16string(1, typed);
    return event;
}

KeyEvent PrintableKeyDown(const USPrintableKey& key, std::uint64_t modifiers) {
    const bool shift = (modifiers & ModifierFlags::Shift) != 0;
    const auto ignoring = static_cast<char16_t>(shift ? key.shifted : key.plain);
    char16_t typed = ignoring;
    // Control with a letter types the letter's control character.
    if ((modifiers & ModifierFlags::Control) != 0 && key.plain >= 'a' && key.plain <= 'z') {
        typed = static_cast<char16_t>(key.plain - 'a' + 1);
    }
    return KeyDown(key.keyCode, modifiers, ignoring, typed);
}

}  // namespace

std::optional<KeyEvent> usKeyDown(std::string_view name, std::uint64_t modifiers) {
    if (name.size() == 1) {
        for (const USPrintableKey& key : kUSPrintableKeys) {
            if (key.plain == name.front()) {
                return PrintableKeyDown(key, modifiers);
            }
            // A shifted symbol is its key with Shift; capital letters are written Shift+a.
            if (key.shifted == name.front() && !(key.plain >= 'a' && key.plain <= 'z')) {
                return PrintableKeyDown(key, modifiers | ModifierFlags::Shift);
            }
        }
        return std::nullopt;
    }
    for (const NamedKey& key : kNamedKeys) {
        if (key.name == name) {
            return KeyDown(key.keyCode, modifiers, key.text, key.text);
        }
    }
    return std::nullopt;
}

KeyEvent shiftDownEvent() {
    return KeyEvent{EventType::FlagsChanged, KeyCode::Shift, ModifierFlags::Shift, {}, {}};
}

KeyEvent shiftUpEvent() {
    return KeyEvent{EventType::FlagsChanged, KeyCode::Shift, 0, {}, {}};
}

KeyEvent capsLockEvent(bool on) {
    return KeyEvent{
        EventType::FlagsChanged, KeyCode::CapsLock, on ? ModifierFlags::CapsLock : 0, {}, {}};
}

}  // namespace kv
