// SPDX-License-Identifier: MIT
// Clicks on the on-screen keyboard: what each token does, and which session it types into.
#include "keyboard/keyboard_window.h"
#include "settings/settings_keys.h"
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

class ControllerKeyboardTest : public ControllerTest {
  protected:
    // Shows the on-screen keyboard, so that it can be clicked.
    void showKeyboard() {
        if (!play("activate").keyboardVisible) {
            play("button:keyboard");
        }
    }
};

TEST_F(ControllerKeyboardTest, SpaceTypesLooksUpOrPages) {
    showKeyboard();
    EXPECT_EQ(play("osk:__space__").inserted, " ");
    play("Shift+Space");
    EXPECT_EQ(play("osk:__space__").inserted, kFullwidthSpace);
    play("Shift+Space");

    EXPECT_EQ(play("osk:a osk:b osk:__space__").panel.items, (Strings{"明", "朋"}));
    EXPECT_EQ(play("osk:__space__").panel.selected, 0);
    EXPECT_EQ(play("Escape osk:b osk:t osk:__space__").inserted, "體");
    EXPECT_EQ(play("osk:z osk:z osk:__space__").beeps, 1);

    play("e Space");
    EXPECT_EQ(play("osk:__space__").panel.selected, 10);
    EXPECT_EQ(play("osk:__space__").panel.selected, 20);
    EXPECT_EQ(play("osk:__space__").panel.selected, 0);
}

TEST_F(ControllerKeyboardTest, BackspaceEditsTheCompositionOrTheText) {
    showKeyboard();
    EXPECT_EQ(play("a b osk:__backspace__").marked, "日");
    EXPECT_EQ(play("osk:__backspace__").marked, "");
    EXPECT_EQ(play("e Space osk:__backspace__").marked, "");
    EXPECT_TRUE(controller().engine()->code.empty());
    EXPECT_EQ(play("c q s e osk:__backspace__").marked, "cqs");
    EXPECT_EQ(play("osk:__backspace__ osk:__backspace__ osk:__backspace__").marked, "");
    EXPECT_EQ(controller().command(), "");

    // With nothing composed it deletes the character before the caret.
    client().document = u"xy";
    client().selection = {2, 0};
    play("osk:__backspace__");
    EXPECT_EQ(client().text(), "x");
    client().selection = {0, 0};
    play("osk:__backspace__");
    EXPECT_EQ(run().keySynth().posted, (std::vector<std::uint16_t>{51}));
}

TEST_F(ControllerKeyboardTest, KeysChooseWithNumberSelection) {
    showKeyboard();
    EXPECT_EQ(play("e Space osk:3").inserted, "三");
    EXPECT_EQ(play("e Space Right osk:3").inserted, "萬");
    StepReport report = play("e Space Down osk:a");
    EXPECT_EQ(report.inserted, "二");
    EXPECT_EQ(report.marked, "日");
    // A digit beyond the rows of the page does nothing.
    report = play("Escape a b Space osk:5");
    EXPECT_EQ(report.inserted, "");
    EXPECT_EQ(report.marked, "日月");
    // Keys that are no code keys are ignored, never passed on.
    report = play("Escape osk:1");
    EXPECT_EQ(report.inserted, "");
    EXPECT_EQ(report.marked, "");
}

TEST_F(ControllerKeyboardTest, KeysChooseWithLetterSelection) {
    set(SettingsKey::LetterSelection, true);
    showKeyboard();
    EXPECT_EQ(play("e Space osk:d").inserted, "三");
    EXPECT_EQ(play("e Space osk:;").inserted, "十");
    // ";" on a page of two rows does nothing.
    StepReport report = play("a b Space osk:;");
    EXPECT_EQ(report.inserted, "");
    EXPECT_EQ(report.marked, "日月");
    EXPECT_EQ(controller().engine()->candidates.size(), 2u);
    // A key that is no selection key commits the highlight and starts a code.
    report = play("osk:1");
    EXPECT_EQ(report.inserted, "明");
    report = play("e Space osk:b");
    EXPECT_EQ(report.inserted, "一");
    EXPECT_EQ(report.marked, "月");
}

TEST_F(ControllerKeyboardTest, SpaceRunsACollectedCommand) {
    showKeyboard();
    StepReport report = play("c q k e y osk:__space__");
    EXPECT_FALSE(report.keyboardVisible);
    EXPECT_FALSE(report.keyboardRequested);
    // Letters that are no command are looked up.
    showKeyboard();
    EXPECT_EQ(play("c q s e x").marked, "金手尸水難");
    report = play("Escape c q s e osk:__space__");
    EXPECT_EQ(report.beeps, 1);
    // On-screen keys neither enter nor continue a command.
    EXPECT_EQ(play("osk:c osk:q osk:s").marked, "金手尸");
    EXPECT_EQ(controller().command(), "");
}

TEST_F(ControllerKeyboardTest, AKeyEndsACollectedCommandAndShowsTheWholeCode) {
    showKeyboard();
    StepReport report = play("c q s osk:e");
    EXPECT_EQ(report.marked, "金手尸水");
    EXPECT_EQ(controller().command(), "");
    EXPECT_EQ(controller().engine()->code, "cqse");
    // Escape drops everything shown; nothing comes back with the next key.
    EXPECT_EQ(play("Escape").marked, "");
    EXPECT_EQ(play("b").marked, "月");
    EXPECT_EQ(play("Escape c q s osk:e Delete").marked, "金手尸");
    EXPECT_EQ(play("Delete Delete Delete").marked, "");
    EXPECT_TRUE(controller().engine()->code.empty());
    // A key that is no key of the table ends the command all the same.
    EXPECT_EQ(play("c q k osk:1").marked, "金手大");
    EXPECT_EQ(controller().engine()->code, "cqk");

    // Only the focused session's command ends.
    play("Escape c q s session:2 activate osk:e");
    EXPECT_EQ(run().client("2").marked(), "水");
    EXPECT_EQ(run().controller("1").command(), "cqs");
    EXPECT_EQ(run().client("1").marked(), "cqs");
}

TEST_F(ControllerKeyboardTest, EnglishModeIgnoresTheKeyboard) {
    showKeyboard();
    const StepReport report = play("CapsLock osk:a osk:__space__ osk:__backspace__");
    EXPECT_EQ(report.marked, "");
    EXPECT_EQ(inserted(), "");
    EXPECT_TRUE(run().keySynth().posted.empty());
}

TEST_F(ControllerKeyboardTest, OnlyTheFocusedSessionTypesAClick) {
    showKeyboard();
    // Session 2 gains the focus; session 1 was never told it lost it.
    play("session:2 osk:a");
    EXPECT_EQ(run().client("2").marked(), "日");
    EXPECT_EQ(run().client("1").marked(), "");
    EXPECT_TRUE(run().controller("1").engine()->code.empty());

    // Once the focused session is deactivated, nobody types a click.
    play("Escape deactivate");
    defaultCenter().postNotificationName(KVKeyboardKeyPressedNotification, "b");
    EXPECT_EQ(run().client("1").marked(), "");
    EXPECT_EQ(run().client("2").marked(), "");

    // Session 1 has it back.
    play("session:1 activate");
    defaultCenter().postNotificationName(KVKeyboardKeyPressedNotification, "b");
    EXPECT_EQ(run().client("1").marked(), "月");
    EXPECT_EQ(run().client("2").marked(), "");
    EXPECT_EQ(run().client("2").inserted(), "");
}

}  // namespace
}  // namespace kv::testing
