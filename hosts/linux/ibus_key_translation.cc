// SPDX-License-Identifier: MIT
#include "hosts/linux/ibus_key_translation.h"

#include <array>

namespace kv {

namespace {

struct KeyInfo {
    std::uint16_t virtualKey = 0;
    char16_t plain = 0;    // the US layout's character without Shift
    char16_t shifted = 0;  // and with Shift
    bool known = false;
};

constexpr KeyInfo Key(std::uint16_t virtualKey, char16_t plain, char16_t shifted = 0) {
    return KeyInfo{virtualKey, plain, shifted == 0 ? plain : shifted, true};
}

// Function keys answer with the private-use characters the ANSI keyboard gives them.
constexpr std::array<KeyInfo, 128> MakeTable() {
    std::array<KeyInfo, 128> t{};
    t[1] = Key(53, 0x1B);
    constexpr std::array<std::uint16_t, 10> digitKeys{18, 19, 20, 21, 23, 22, 26, 28, 25, 29};
    constexpr char16_t digitShifted[] = u"!@#$%^&*()";
    for (int i = 0; i < 10; ++i) {
        t[2 + i] =
            Key(digitKeys[i], static_cast<char16_t>(i == 9 ? u'0' : u'1' + i), digitShifted[i]);
    }
    t[12] = Key(27, u'-', u'_');
    t[13] = Key(24, u'=', u'+');
    t[14] = Key(51, 0x7F);
    t[15] = Key(48, u'\t');
    constexpr char16_t top[] = u"qwertyuiop";
    constexpr std::array<std::uint16_t, 10> topKeys{12, 13, 14, 15, 17, 16, 32, 34, 31, 35};
    for (int i = 0; i < 10; ++i) {
        t[16 + i] = Key(topKeys[i], top[i], static_cast<char16_t>(top[i] - 32));
    }
    t[26] = Key(33, u'[', u'{');
    t[27] = Key(30, u']', u'}');
    t[28] = Key(36, u'\r');
    constexpr char16_t home[] = u"asdfghjkl";
    constexpr std::array<std::uint16_t, 9> homeKeys{0, 1, 2, 3, 5, 4, 38, 40, 37};
    for (int i = 0; i < 9; ++i) {
        t[30 + i] = Key(homeKeys[i], home[i], static_cast<char16_t>(home[i] - 32));
    }
    t[39] = Key(41, u';', u':');
    t[40] = Key(39, u'\'', u'"');
    t[41] = Key(50, u'`', u'~');
    t[43] = Key(42, u'\\', u'|');
    constexpr char16_t bottom[] = u"zxcvbnm";
    constexpr std::array<std::uint16_t, 7> bottomKeys{6, 7, 8, 9, 11, 45, 46};
    for (int i = 0; i < 7; ++i) {
        t[44 + i] = Key(bottomKeys[i], bottom[i], static_cast<char16_t>(bottom[i] - 32));
    }
    t[51] = Key(43, u',', u'<');
    t[52] = Key(47, u'.', u'>');
    t[53] = Key(44, u'/', u'?');
    t[55] = Key(67, u'*');
    t[57] = Key(49, u' ');
    constexpr std::array<std::uint16_t, 10> functionKeys{122, 120, 99,  118, 96,
                                                         97,  98,  100, 101, 109};
    for (int i = 0; i < 10; ++i) {
        t[59 + i] = Key(functionKeys[i], static_cast<char16_t>(0xF704 + i));
    }
    t[69] = Key(71, 0xF739);
    constexpr std::array<std::uint16_t, 13> keypadKeys{89, 91, 92, 78, 86, 87, 88,
                                                       69, 83, 84, 85, 82, 65};
    constexpr char16_t keypadText[] = u"789-456+1230.";
    for (int i = 0; i < 13; ++i) {
        t[71 + i] = Key(keypadKeys[i], keypadText[i]);
    }
    t[87] = Key(103, 0xF70E);
    t[88] = Key(111, 0xF70F);
    t[96] = Key(76, 0x03);
    t[98] = Key(75, u'/');
    t[102] = Key(115, 0xF729);
    t[103] = Key(126, 0xF700);
    t[104] = Key(116, 0xF72C);
    t[105] = Key(123, 0xF702);
    t[106] = Key(124, 0xF703);
    t[107] = Key(119, 0xF72B);
    t[108] = Key(125, 0xF701);
    t[109] = Key(121, 0xF72D);
    t[110] = Key(114, 0xF727);
    t[111] = Key(117, 0xF728);
    t[117] = Key(81, u'=');
    return t;
}

constexpr std::array<KeyInfo, 128> kKeys = MakeTable();

struct ModifierKey {
    std::uint32_t evdev;
    std::uint16_t virtualKey;
    std::uint64_t flag;
};

constexpr std::array<ModifierKey, 9> kModifierKeys{{
    {42, 56, ModifierFlags::Shift},
    {54, 60, ModifierFlags::Shift},
    {58, 57, ModifierFlags::CapsLock},
    {29, 59, ModifierFlags::Control},
    {97, 62, ModifierFlags::Control},
    {56, 58, ModifierFlags::Option},
    {100, 61, ModifierFlags::Option},
    {125, 55, ModifierFlags::Command},
    {126, 54, ModifierFlags::Command},
}};

std::uint64_t FlagsOfState(std::uint32_t state) {
    std::uint64_t flags = 0;
    if ((state & IBusState::Shift) != 0) {
        flags |= ModifierFlags::Shift;
    }
    if ((state & IBusState::Lock) != 0) {
        flags |= ModifierFlags::CapsLock;
    }
    if ((state & IBusState::Control) != 0) {
        flags |= ModifierFlags::Control;
    }
    if ((state & IBusState::Alt) != 0) {
        flags |= ModifierFlags::Option;
    }
    if ((state & (IBusState::Super | IBusState::SuperVirtual)) != 0) {
        flags |= ModifierFlags::Command;
    }
    return flags;
}

// The state is that before the event: a press adds the key's own bit, a release takes it away.
// Caps Lock is the exception: one event per press, its light already tells the new state.
std::optional<KeyEvent> ModifierChange(const ModifierKey& key, std::uint32_t state) {
    const bool release = (state & IBusState::Release) != 0;
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

std::optional<KeyEvent> TranslateIBusKey(const IBusKeyInput& input) {
    for (const ModifierKey& key : kModifierKeys) {
        if (key.evdev == input.keycode) {
            return ModifierChange(key, input.state);
        }
    }
    if ((input.state & IBusState::Release) != 0 || input.keycode >= kKeys.size() ||
        !kKeys[input.keycode].known) {
        return std::nullopt;
    }
    const KeyInfo& key = kKeys[input.keycode];
    KeyEvent event;
    event.keyCode = key.virtualKey;
    event.modifierFlags = FlagsOfState(input.state);
    const bool shift = (input.state & IBusState::Shift) != 0;
    event.charactersIgnoringModifiers = std::u16string(1, shift ? key.shifted : key.plain);
    const bool control = (input.state & IBusState::Control) != 0;
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
