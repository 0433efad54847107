// SPDX-License-Identifier: MIT
#include "tools/cqkv/us_key_events.h"

#include <array>

namespace kv {

namespace {

// A key of the main block: what it types alone and with Shift.
struct PrintableKey {
    char plain;
    char shifted;
    std::uint16_t keyCode;
};

constexpr std::array<PrintableKey, 47> kPrintableKeys{{
    {'a', 'A', 0},   {'s', 'S', 1},  {'d', 'D', 2},   {'f', 'F', 3},  {'h', 'H', 4},
    {'g', 'G', 5},   {'z', 'Z', 6},  {'x', 'X', 7},   {'c', 'C', 8},  {'v', 'V', 9},
    {'b', 'B', 11},  {'q', 'Q', 12}, {'w', 'W', 13},  {'e', 'E', 14}, {'r', 'R', 15},
    {'y', 'Y', 16},  {'t', 'T', 17}, {'1', '!', 18},  {'2', '@', 19}, {'3', '#', 20},
    {'4', '$', 21},  {'6', '^', 22}, {'5', '%', 23},  {'=', '+', 24}, {'9', '(', 25},
    {'7', '&', 26},  {'-', '_', 27}, {'8', '*', 28},  {'0', ')', 29}, {']', '}', 30},
    {'o', 'O', 31},  {'u', 'U', 32}, {'[', '{', 33},  {'i', 'I', 34}, {'p', 'P', 35},
    {'l', 'L', 37},  {'j', 'J', 38}, {'\'', '"', 39}, {'k', 'K', 40}, {';', ':', 41},
    {'\\', '|', 42}, {',', '<', 43}, {'/', '?', 44},  {'n', 'N', 45}, {'m', 'M', 46},
    {'.', '>', 47},  {'`', '~', 50},
}};

// A key that types no character of the main block; `text` is what the desktop reports for it
// (control characters, or the function keys' private characters).
struct NamedKey {
    std::string_view name;
    std::uint16_t keyCode;
    char16_t text;
};

constexpr std::array<NamedKey, 22> kNamedKeys{{
    {"Space", 49, u' '},        {"Return", 36, u'\r'},        {"Escape", 53, u'\x1b'},
    {"Delete", 51, u'\x7f'},    {"Tab", 48, u'\t'},           {"Left", 123, u'\uF702'},
    {"Right", 124, u'\uF703'},  {"Up", 126, u'\uF700'},       {"Down", 125, u'\uF701'},
    {"PageUp", 116, u'\uF72C'}, {"PageDown", 121, u'\uF72D'}, {"KP_0", 82, u'0'},
    {"KP_1", 83, u'1'},         {"KP_2", 84, u'2'},           {"KP_3", 85, u'3'},
    {"KP_4", 86, u'4'},         {"KP_5", 87, u'5'},           {"KP_6", 88, u'6'},
    {"KP_7", 89, u'7'},         {"KP_8", 91, u'8'},           {"KP_9", 92, u'9'},
    {"KP_Enter", 76, u'\x03'},
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

KeyEvent PrintableKeyDown(const PrintableKey& key, std::uint64_t modifiers) {
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
        for (const PrintableKey& key : kPrintableKeys) {
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
    return KeyEvent{EventType::FlagsChanged, 56, ModifierFlags::Shift, {}, {}};
}

KeyEvent shiftUpEvent() {
    return KeyEvent{EventType::FlagsChanged, 56, 0, {}, {}};
}

KeyEvent capsLockEvent(bool on) {
    return KeyEvent{EventType::FlagsChanged, 57, on ? ModifierFlags::CapsLock : 0, {}, {}};
}

}  // namespace kv
