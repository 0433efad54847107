// SPDX-License-Identifier: MIT
// Key handling: which key events the input method consumes and what each one does, row by row.
#include "settings/settings_keys.h"
#include "testing/us_key_events.h"
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

class ControllerKeysTest : public ControllerTest {
  protected:
    // Sends one event to the current session (made on first use) and returns the answer.
    bool send(const KeyEvent& event) {
        run().openSession(run().currentSession());
        return run().server().handleEvent(run().currentSession(), event);
    }
    bool sendKey(std::string_view name, std::uint64_t modifiers = 0) {
        return send(usKeyDown(name, modifiers).value());
    }
};

TEST_F(ControllerKeysTest, WithoutTableEveryKeyPassesAndTheNextSessionLoadsIt) {
    options.table = dir.path() / "later.cin";
    for (const std::string_view token : {"a", "Space", "Return", "Delete", "Escape", "Shift+a",
                                         "Shift+Space", "Cmd+c", "KP_1", "Shift", "CapsLock"}) {
        const StepReport report = play(token);
        EXPECT_EQ(report.handled, false) << token;
        EXPECT_EQ(report.marked, "") << token;
        EXPECT_EQ(report.inserted, "") << token;
    }
    EXPECT_EQ(controller().engine(), nullptr);
    EXPECT_EQ(stored(SettingsKey::FullwidthMode), "absent");

    // The table appears: the next session tries the load again and gets it.
    dir.write("later.cin", kFixtureTable);
    const StepReport second = play("session:2 a");
    EXPECT_EQ(second.handled, true);
    EXPECT_EQ(second.marked, "日");
    // The first session stays without a table.
    EXPECT_EQ(play("session:1 a").handled, false);
}

TEST_F(ControllerKeysTest, SessionsShareOneTable) {
    play("a session:2 b");
    ASSERT_NE(run().controller("1").table(), nullptr);
    EXPECT_EQ(run().controller("1").table(), run().controller("2").table());
    EXPECT_EQ(run().client("1").marked(), "日");
    EXPECT_EQ(run().client("2").marked(), "月");
}

TEST_F(ControllerKeysTest, CapsLockTogglesTheModeAndClearsTheComposition) {
    play("a b");
    const StepReport toEnglish = play("CapsLock");
    EXPECT_EQ(toEnglish.handled, false);
    EXPECT_EQ(toEnglish.marked, "");
    EXPECT_FALSE(controller().chineseMode());
    EXPECT_EQ(play("a").handled, false);
    EXPECT_EQ(play("Space").handled, false);

    EXPECT_EQ(play("CapsLock").handled, false);
    EXPECT_TRUE(controller().chineseMode());
    EXPECT_EQ(play("a").marked, "日");

    // The mode is the session's and survives losing the focus.
    play("CapsLock deactivate activate");
    EXPECT_FALSE(controller().chineseMode());
    // A Shift press does nothing in the Caps Lock mode.
    play("Shift");
    EXPECT_FALSE(controller().chineseMode());
}

TEST_F(ControllerKeysTest, LoneShiftTogglesInTheShiftMode) {
    set(SettingsKey::ToggleKey, std::string("Shift"));
    EXPECT_EQ(play("CapsLock").handled, false);
    EXPECT_TRUE(controller().chineseMode());

    play("a c");
    const StepReport toggled = play("Shift");
    EXPECT_EQ(toggled.handled, false);
    EXPECT_EQ(toggled.marked, "");
    EXPECT_FALSE(controller().chineseMode());
    play("Shift");
    EXPECT_TRUE(controller().chineseMode());

    // Shift held while typing a letter is a modifier, not a toggle.
    EXPECT_FALSE(send(shiftDownEvent()));
    EXPECT_TRUE(sendKey("a", ModifierFlags::Shift));
    EXPECT_FALSE(send(shiftUpEvent()));
    EXPECT_TRUE(controller().chineseMode());
    EXPECT_EQ(inserted(), "a");

    // A keypad key while Shift is held uses it too.
    send(shiftDownEvent());
    EXPECT_FALSE(sendKey("KP_1", ModifierFlags::Shift));
    send(shiftUpEvent());
    EXPECT_TRUE(controller().chineseMode());

    // The right Shift toggles; a second Shift going down while armed changes nothing.
    send(KeyEvent{EventType::FlagsChanged, 60, ModifierFlags::Shift, {}, {}});
    send(KeyEvent{EventType::FlagsChanged, 56, ModifierFlags::Shift, {}, {}});
    send(KeyEvent{EventType::FlagsChanged, 60, 0, {}, {}});
    EXPECT_FALSE(controller().chineseMode());
    // A release without a press is nothing.
    send(shiftUpEvent());
    EXPECT_FALSE(controller().chineseMode());
}

TEST_F(ControllerKeysTest, KeypadKeysAlwaysPassAndDoNotShowTheToolbar) {
    set(SettingsKey::ToolbarFollowMode, std::int64_t{2});
    play("e Space");
    for (const std::string_view key : {"KP_1", "KP_Enter", "KP_0", "KP_9"}) {
        const StepReport report = play(key);
        EXPECT_EQ(report.handled, false) << key;
        EXPECT_EQ(report.inserted, "") << key;
        EXPECT_EQ(report.panel.items.size(), 10u) << key;
    }
    play("Escape wait:2");
    EXPECT_FALSE(play("KP_5").panel.follow);
    EXPECT_TRUE(play("a").panel.follow);
}

TEST_F(ControllerKeysTest, CommandLikeModifiersPassInEveryState) {
    for (const std::string_view setup : {"activate", "a b", "e Space", "c q s", "CapsLock"}) {
        play(setup);
        const std::string marked = client().marked();
        for (const std::string_view key :
             {"Cmd+c", "Alt+a", "Ctrl+a", "Ctrl+Shift+a", "Cmd+Space", "Cmd+Return"}) {
            const StepReport report = play(key);
            EXPECT_EQ(report.handled, false) << setup << " / " << key;
            EXPECT_EQ(report.marked, marked) << setup << " / " << key;
            EXPECT_EQ(report.inserted, "") << setup << " / " << key;
        }
        play("Escape Escape");
        if (!controller().chineseMode()) {
            play("CapsLock");
        }
    }
}

TEST_F(ControllerKeysTest, ShiftSpaceFlipsFullWidthInBothModes) {
    play("a b");
    const StepReport on = play("Shift+Space");
    EXPECT_EQ(on.handled, true);
    EXPECT_EQ(on.marked, "日月");
    ASSERT_EQ(on.settings.size(), 1u);
    EXPECT_EQ(on.settings[0].first, SettingsKey::FullwidthMode);
    EXPECT_TRUE(controller().fullwidthMode());
    EXPECT_EQ(stored(SettingsKey::FullwidthMode), "YES");

    play("CapsLock");
    EXPECT_EQ(play("Shift+Space").handled, true);
    EXPECT_EQ(stored(SettingsKey::FullwidthMode), "NO");
}

TEST_F(ControllerKeysTest, EnglishModeTypesFullWidthOnlyWhenItIsOn) {
    play("CapsLock");
    EXPECT_EQ(play("a").handled, false);
    play("Shift+Space");
    const std::vector<std::pair<std::string_view, std::string_view>> rows = {
        {"a", "ａ"}, {"Space", "\u3000"}, {"Shift+a", "Ａ"}, {"Shift+1", "！"},
        {"~", "～"}, {"1", "１"},         {";", "；"},
    };
    for (const auto& [key, typed] : rows) {
        const StepReport report = play(key);
        EXPECT_EQ(report.handled, true) << key;
        EXPECT_EQ(report.inserted, typed) << key;
    }
    // Keys that edit or move are no text: they still reach the application.
    for (const std::string_view key :
         {"Return", "Delete", "Escape", "Tab", "Left", "Down", "PageUp"}) {
        const StepReport report = play(key);
        EXPECT_EQ(report.handled, false) << key;
        EXPECT_EQ(report.inserted, "") << key;
    }
}

TEST_F(ControllerKeysTest, PagingAndRowsWhileChoosingWrapAround) {
    StepReport report = play("e Space");
    EXPECT_EQ(report.panel.items,
              (Strings{"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"}));
    EXPECT_EQ(report.panel.page, "1/3");
    const std::vector<std::pair<std::string_view, std::int64_t>> moves = {
        {"Right", 10}, {"Right", 20}, {"Right", 0},  {"Left", 20},   {"Left", 10}, {"PageDown", 20},
        {"Down", 21},  {"Down", 22},  {"Down", 20},  {"Up", 22},     {"Space", 0}, {"Space", 10},
        {"Up", 19},    {"Down", 10},  {"PageUp", 0}, {"PageUp", 20}, {"Space", 0},
    };
    for (const auto& [key, index] : moves) {
        report = play(key);
        EXPECT_EQ(report.handled, true) << key;
        EXPECT_EQ(report.panel.selected, index) << key;
        EXPECT_EQ(controller().candidateIndex(), index) << key;
    }
    EXPECT_EQ(play("Right").panel.page, "2/3");
    report = play("Down Return");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(report.inserted, "千");
    EXPECT_EQ(report.marked, "");
    EXPECT_TRUE(report.panel.toolbar);

    // Delete and Escape drop the whole composition, not only the list.
    for (const std::string_view key : {"Delete", "Escape"}) {
        play("e Space");
        report = play(key);
        EXPECT_EQ(report.handled, true) << key;
        EXPECT_EQ(report.marked, "") << key;
        EXPECT_EQ(report.inserted, "") << key;
        EXPECT_TRUE(controller().engine()->code.empty()) << key;
        EXPECT_TRUE(report.panel.toolbar) << key;
    }
}

TEST_F(ControllerKeysTest, DigitsSelectRowsOfThePageShown) {
    EXPECT_EQ(play("e Space 3").inserted, "三");
    EXPECT_EQ(play("e Space Right 3").inserted, "萬");
    EXPECT_EQ(play("e Space 0").inserted, "十");

    // A row that the page does not have commits the highlight and offers the key to the
    // table, which does not know it: the key is swallowed.
    StepReport report = play("a b Space Down 9");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(report.inserted, "朋");
    EXPECT_EQ(report.marked, "");

    // With Shift a digit is its symbol, no selection.
    report = play("e Space Shift+3");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(report.inserted, "一");
    // Keys that are neither selection keys nor code bytes pass while choosing.
    report = play("e Space Tab");
    EXPECT_EQ(report.handled, false);
    EXPECT_EQ(report.panel.items.size(), 10u);
}

TEST_F(ControllerKeysTest, LetterSelectionUsesTheHomeRow) {
    set(SettingsKey::LetterSelection, true);
    EXPECT_EQ(play("e Space d").inserted, "三");
    EXPECT_EQ(play("e Space ;").inserted, "十");
    EXPECT_EQ(play("e Space Right a").inserted, "百");
    // Digits select nothing: "1" commits the highlight and is swallowed.
    StepReport report = play("e Space Down 1");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(report.inserted, "二");
    EXPECT_EQ(report.marked, "");
    // ";" beyond the three rows of the last page: the highlight is committed.
    EXPECT_EQ(play("e Space Left ;").inserted, "辛");
    // "f" beyond two rows commits the highlight and starts a new code with f.
    report = play("a b Space f");
    EXPECT_EQ(report.inserted, "明");
    EXPECT_EQ(report.marked, "火");
    play("Escape");
    // Shift+d is a shifted letter, not a selection.
    report = play("e Space Down Shift+d");
    EXPECT_EQ(report.inserted, "二d");
}

TEST_F(ControllerKeysTest, ShiftWithALetterTypesTheLetter) {
    StepReport report = play("a b Shift+a");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(report.marked, "");
    EXPECT_EQ(report.inserted, "a");
    EXPECT_TRUE(controller().engine()->code.empty());

    report = play("e Space Down Shift+z");
    EXPECT_EQ(report.inserted, "二z");

    report = play("c q s Shift+b");
    EXPECT_EQ(report.inserted, "b");
    EXPECT_EQ(controller().command(), "");

    play("Shift+Space");
    EXPECT_EQ(play("a Shift+b").inserted, "ｂ");
}

TEST_F(ControllerKeysTest, IdleAndComposingKeys) {
    for (const std::string_view key :
         {"Return", "Space", "Delete", "Escape", "1", ",", "Tab", "Left"}) {
        EXPECT_EQ(play(key).handled, false) << key;
    }
    // Keys the table does not know reach the application half-width, also in full-width mode.
    play("Shift+Space");
    EXPECT_EQ(play("1").handled, false);
    EXPECT_EQ(inserted(), "");
    play("Shift+Space");

    EXPECT_EQ(play("a b").marked, "日月");
    EXPECT_EQ(play("Delete").marked, "日");
    StepReport report = play("Delete");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(report.marked, "");
    EXPECT_EQ(play("Delete").handled, false);

    EXPECT_EQ(play("a b Escape").marked, "");
    EXPECT_EQ(play("a Space").inserted, "日");
    EXPECT_EQ(play("b t Return").inserted, "體");
    report = play("a b Return");
    EXPECT_EQ(report.panel.items, (Strings{"明", "朋"}));
    EXPECT_EQ(report.marked, "日月");
    // A non-code key while composing leaves the code as it is.
    report = play("1");
    EXPECT_EQ(report.inserted, "明");
    play("a");
    report = play("1");
    EXPECT_EQ(report.handled, false);
    EXPECT_EQ(report.marked, "日");

    // Typing on while choosing commits the highlight and starts the next code.
    report = play("Escape e Space b");
    EXPECT_EQ(report.inserted, "一");
    EXPECT_EQ(report.marked, "月");
}

TEST_F(ControllerKeysTest, RefusedKeysBeepOnceAndClear) {
    StepReport report = play("z z Space");
    EXPECT_EQ(report.beeps, 1);
    EXPECT_EQ(report.marked, "");
    // The seventh key of a code discards it.
    EXPECT_EQ(play("a b z z z z").marked, "日月重重重重");
    report = play("a");
    EXPECT_EQ(report.beeps, 1);
    EXPECT_EQ(report.marked, "");
    EXPECT_TRUE(report.panel.toolbar);
    EXPECT_EQ(play("b").marked, "月");
    EXPECT_EQ(play("Escape Space").beeps, 0);
}

}  // namespace
}  // namespace kv::testing
