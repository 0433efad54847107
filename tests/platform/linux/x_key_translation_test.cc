// SPDX-License-Identifier: MIT
// Keys as IBus and fcitx5 deliver them (evdev codes, key symbols, the state before the event)
// become the events the controller was written for.
#include "platform/linux/x_key_translation.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

constexpr std::uint32_t kShiftL = 42;
constexpr std::uint32_t kShiftR = 54;
constexpr std::uint32_t kCapsLock = 58;

KeyEvent Down(std::uint32_t keycode, char32_t unicode, std::uint32_t state = 0) {
    const std::optional<KeyEvent> event = TranslateXKey({0, keycode, state, unicode});
    EXPECT_TRUE(event.has_value()) << keycode;
    return event.value_or(KeyEvent{});
}

TEST(XKeyTranslation, KeysOfTheUSLayoutBecomeTheirVirtualKeysAndCharacters) {
    // a, s, q, 1, 5 (the ANSI keyboard numbers its keys out of order), space.
    EXPECT_EQ(Down(30, U'a'), (KeyEvent{EventType::KeyDown, 0, 0, u"a", u"a"}));
    EXPECT_EQ(Down(31, U's').keyCode, 1);
    EXPECT_EQ(Down(16, U'q').keyCode, 12);
    EXPECT_EQ(Down(2, U'1').keyCode, 18);
    EXPECT_EQ(Down(6, U'5').keyCode, 23);
    EXPECT_EQ(Down(57, U' ').keyCode, 49);
    // Shift+a arrives as A with the Shift bit; Shift+1 as !.
    EXPECT_EQ(Down(30, U'A', XKeyState::Shift),
              (KeyEvent{EventType::KeyDown, 0, ModifierFlags::Shift, u"A", u"A"}));
    EXPECT_EQ(Down(2, U'!', XKeyState::Shift).charactersIgnoringModifiers, u"!");
    // Caps Lock alone changes what the key types, not what it is without modifiers.
    const KeyEvent locked = Down(30, U'A', XKeyState::Lock);
    EXPECT_EQ(locked.characters, u"A");
    EXPECT_EQ(locked.charactersIgnoringModifiers, u"a");
    EXPECT_EQ(locked.modifierFlags, ModifierFlags::CapsLock);
    // Control, Alt and Super are the command-like modifiers; Control+a types its control byte.
    const KeyEvent control = Down(30, U'a', XKeyState::Control);
    EXPECT_EQ(control.characters, u"\x01");
    EXPECT_EQ(control.modifierFlags, ModifierFlags::Control);
    EXPECT_EQ(Down(30, U'a', XKeyState::Alt).modifierFlags, ModifierFlags::Option);
    EXPECT_EQ(Down(30, U'a', XKeyState::Super).modifierFlags, ModifierFlags::Command);
    // NumLock's bit is no modifier of the event.
    EXPECT_EQ(Down(30, U'a', 0x10).modifierFlags, 0u);
}

TEST(XKeyTranslation, NamedAndKeypadKeysAndWhatIsNeverOffered) {
    EXPECT_EQ(Down(28, U'\r'), (KeyEvent{EventType::KeyDown, 36, 0, u"\r", u"\r"}));
    EXPECT_EQ(Down(14, 0x08).keyCode, 51);  // BackSpace is the ANSI Delete
    EXPECT_EQ(Down(14, 0x08).characters, u"\x7f");
    EXPECT_EQ(Down(1, 0x1B).keyCode, 53);
    EXPECT_EQ(Down(105, 0), (KeyEvent{EventType::KeyDown, 123, 0, u"\uF702", u"\uF702"}));
    EXPECT_EQ(Down(108, 0).keyCode, 125);
    EXPECT_EQ(Down(104, 0).keyCode, 116);
    EXPECT_EQ(Down(109, 0).keyCode, 121);
    // The keypad keeps its own virtual keys, so the controller can let it through.
    EXPECT_EQ(Down(79, U'1').keyCode, 83);
    EXPECT_EQ(Down(82, U'0').keyCode, 82);
    EXPECT_EQ(Down(96, U'\r').keyCode, 76);
    // Releases of ordinary keys and keys the ANSI keyboard does not have.
    EXPECT_FALSE(TranslateXKey({0, 30, XKeyState::Release, U'a'}));
    EXPECT_FALSE(TranslateXKey({0, 0, 0, 0}));
    EXPECT_FALSE(TranslateXKey({0, 240, 0, 0}));
    EXPECT_FALSE(TranslateXKey({0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}));
    // The way back, for keys the input method synthesises.
    EXPECT_EQ(EvdevCodeOfVirtualKey(51), 14u);
    EXPECT_EQ(EvdevCodeOfVirtualKey(0), 30u);
    EXPECT_EQ(EvdevCodeOfVirtualKey(0xFFFF), 0u);
}

TEST(XKeyTranslation, ShiftAndCapsLockBecomeModifierChangesWithTheNewFlags) {
    const auto change = [](std::uint32_t keycode, std::uint32_t state) {
        return TranslateXKey({0, keycode, state, 0});
    };
    // The state is that before the event: a press lacks the key's own bit, a release has it.
    EXPECT_EQ(change(kShiftL, 0),
              (KeyEvent{EventType::FlagsChanged, 56, ModifierFlags::Shift, {}, {}}));
    EXPECT_EQ(change(kShiftL, XKeyState::Shift | XKeyState::Release),
              (KeyEvent{EventType::FlagsChanged, 56, 0, {}, {}}));
    EXPECT_EQ(change(kShiftR, 0)->keyCode, 60);
    // Releasing one Shift while the other is held leaves no Shift in the new flags.
    EXPECT_EQ(change(kShiftR, XKeyState::Shift | XKeyState::Release)->modifierFlags, 0u);
    // One event per Caps Lock press, whichever way its light goes; none on release.
    EXPECT_EQ(change(kCapsLock, 0),
              (KeyEvent{EventType::FlagsChanged, 57, ModifierFlags::CapsLock, {}, {}}));
    EXPECT_EQ(change(kCapsLock, XKeyState::Lock)->modifierFlags, 0u);
    EXPECT_FALSE(change(kCapsLock, XKeyState::Lock | XKeyState::Release));
    EXPECT_FALSE(change(kCapsLock, XKeyState::Release));
    // Control pressed while Shift is down: both in the new flags.
    EXPECT_EQ(change(29, XKeyState::Shift)->modifierFlags,
              ModifierFlags::Shift | ModifierFlags::Control);
}

}  // namespace
}  // namespace kv
