// SPDX-License-Identifier: MIT
// Typed commands: entering, collecting, running and giving the letters back as a code.
#include "settings/settings_keys.h"
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

using ControllerCommandsTest = ControllerTest;

TEST_F(ControllerCommandsTest, CqsetOpensTheSettingsWindow) {
    const std::vector<StepReport> steps = playAll("c q s e t Space");
    EXPECT_EQ(steps[1].marked, "金手");
    EXPECT_EQ(steps[2].marked, "cqs");
    EXPECT_EQ(steps[4].marked, "cqset");
    EXPECT_EQ(steps[5].handled, true);
    EXPECT_EQ(steps[5].marked, "");
    EXPECT_EQ(steps[5].windows, (Strings{"settings"}));
    EXPECT_EQ(inserted(), "");
    EXPECT_TRUE(run().preferencesWindow().isVisible());
}

TEST_F(ControllerCommandsTest, CqchsAndCqchtSwitchAndStoreTheScript) {
    StepReport report = play("c q c h s Return");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(report.marked, "");
    EXPECT_EQ(stored(SettingsKey::SimplifiedOutput), "YES");
    EXPECT_EQ(play("b t Space").inserted, "体");
    play("c q c h t Space");
    EXPECT_EQ(stored(SettingsKey::SimplifiedOutput), "NO");
    EXPECT_EQ(play("b t Space").inserted, "體");
}

TEST_F(ControllerCommandsTest, ASettingThatCannotBeSavedIsLoggedAndBeeps) {
    play("activate");
    run().defaults().failingWrites = "Read-only file system";
    for (const std::string_view steps :
         {"c q c h s Space", "Shift+Space", "button:script", "button:width"}) {
        const StepReport report = playAll(steps).back();
        EXPECT_EQ(report.beeps, 1) << steps;
        EXPECT_EQ(run().log().lines.back(), "the settings cannot be saved: Read-only file system")
            << steps;
    }
    EXPECT_EQ(run().log().lines.size(), 4u);
    // Each change holds for the session all the same: Simplified on, then off again.
    EXPECT_EQ(play("b t Space").inserted, "體");
    play("c q c h s Space");
    EXPECT_EQ(play("b t Space").inserted, "体");
}

TEST_F(ControllerCommandsTest, CqaddAndCqkeyOpenTheirWindows) {
    StepReport report = play("c q a d d Space");
    EXPECT_EQ(report.windows, (Strings{"words"}));
    EXPECT_TRUE(std::filesystem::exists(run().locations().root() / "Application Support" /
                                        "CQ_Input_KV" / "CQ_Input_KV_User.txt"));
    report = play("c q k e y Space");
    EXPECT_TRUE(report.keyboardVisible);
    EXPECT_TRUE(report.keyboardRequested);
    report = play("c q k e y Return");
    EXPECT_FALSE(report.keyboardVisible);
    EXPECT_FALSE(report.keyboardRequested);
    EXPECT_EQ(inserted(), "");
}

TEST_F(ControllerCommandsTest, LettersThatAreNoCommandAreGivenBackAsACodeAndLookedUp) {
    EXPECT_EQ(play("c q s e").marked, "cqse");
    const StepReport report = play("x");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(report.marked, "金手尸水難");
    EXPECT_EQ(controller().command(), "");
    EXPECT_EQ(controller().engine()->code, "cqsex");
    EXPECT_EQ(play("Space").inserted, "試");
    // Space after letters that are no command looks them up: "cqs" is no code.
    const StepReport lookedUp = play("c q s Space");
    EXPECT_EQ(lookedUp.handled, true);
    EXPECT_EQ(lookedUp.beeps, 1);
    EXPECT_EQ(lookedUp.marked, "");
}

TEST_F(ControllerCommandsTest, DeleteAndEscapeLeaveWithoutRunning) {
    const std::vector<StepReport> steps = playAll("c q s Delete Delete Delete a");
    EXPECT_EQ(steps[3].marked, "cq");
    EXPECT_EQ(steps[4].marked, "c");
    EXPECT_EQ(steps[5].marked, "");
    EXPECT_EQ(steps[6].marked, "日");
    EXPECT_EQ(controller().engine()->code, "a");

    const StepReport escaped = play("Escape c q k e y Escape");
    EXPECT_EQ(escaped.handled, true);
    EXPECT_EQ(escaped.marked, "");
    EXPECT_FALSE(escaped.keyboardVisible);
    EXPECT_EQ(inserted(), "");
    EXPECT_EQ(controller().command(), "");
}

TEST_F(ControllerCommandsTest, OnlyFourThirdLettersEnterCommandMode) {
    EXPECT_EQ(play("c q x").marked, "金手難");
    EXPECT_EQ(controller().command(), "");
    // After other keys "cq" is no stem.
    EXPECT_EQ(play("Escape a c q s").marked, "日金手尸");
    EXPECT_EQ(controller().command(), "");
    for (const std::string_view stem : {"c q a", "c q c", "c q k", "c q s"}) {
        play("Escape Escape");
        play(stem);
        EXPECT_EQ(controller().command().size(), 3u) << stem;
        EXPECT_TRUE(controller().engine()->code.empty()) << stem;
    }
}

TEST_F(ControllerCommandsTest, KeysWithoutACodeByteAreSwallowedWhileCollecting) {
    play("c q s");
    for (const std::string_view key : {"Tab", "Left", "Up", "PageDown"}) {
        const StepReport report = play(key);
        EXPECT_EQ(report.handled, true) << key;
        EXPECT_EQ(report.marked, "cqs") << key;
    }
    EXPECT_EQ(controller().command(), "cqs");
}

TEST_F(ControllerCommandsTest, AKeyThatEndsACommandActsOnTheCodeItLeavesOnScreen) {
    struct Row {
        std::string_view keys;
        bool handled;
        std::string_view marked;
        std::string_view code;
        std::string_view inserted;
    };
    // The last key ends the command; what it does is what it does after the code "cqs".
    const Row rows[] = {
        {"1", false, "金手尸", "cqs", ""},  // no key of the table: the application gets it
        {",", false, "金手尸", "cqs", ""},
        {"Shift+1", false, "金手尸", "cqs", ""},
        {"e x", true, "金手尸水難", "cqsex", ""},
        {"Shift+a", true, "", "", "a"},
        {"Space", true, "", "", ""},
        {"Escape", true, "", "", ""},
    };
    // In a second session, while the first one composes.
    play("a b session:2");
    for (const Row& row : rows) {
        play("Escape Escape c q s");
        const StepReport report = play(row.keys);
        EXPECT_EQ(report.handled, row.handled) << row.keys;
        EXPECT_EQ(report.marked, row.marked) << row.keys;
        EXPECT_EQ(controller().engine()->code, row.code) << row.keys;
        EXPECT_EQ(report.inserted, row.inserted) << row.keys;
        EXPECT_EQ(controller().command(), "") << row.keys;
    }
    // The code goes on with the next key.
    EXPECT_EQ(play("Escape c q s 1 a").marked, "金手尸日");
    EXPECT_EQ(play("session:1 Space").panel.items, (Strings{"明", "朋"}));
}

TEST_F(ControllerCommandsTest, TheShippedTablesCqCodesSurviveAnEndingKey) {
    options.table = std::filesystem::path(KV_SOURCE_DIR) / "resources" / "CQInput-KV.cin";
    const std::pair<std::string_view, std::string_view> codes[] = {
        {"c q k i", "鋳"}, {"c q a v", "䥟"},   {"c q k a", "𨩃"}, {"c q k d", "𨪦"},
        {"c q k e", "𨦎"}, {"c q k i i", "𧒦"}, {"c q k k", "𨨯"}, {"c q k n q", "𤕛"},
        {"c q s k", "𨫼"}, {"c q k q", "𫒩"},
    };
    for (const auto& [keys, character] : codes) {
        std::string code(keys);
        std::erase(code, ' ');
        // A digit typed right after the code goes to the application beside the reading.
        const StepReport report = play(std::string(keys) + " 1");
        EXPECT_EQ(report.handled, false) << keys;
        EXPECT_EQ(controller().engine()->code, code) << keys;
        EXPECT_EQ(report.marked, controller().composedString()) << keys;
        EXPECT_EQ(play("Space").inserted, character) << keys;
    }
}

}  // namespace
}  // namespace kv::testing
