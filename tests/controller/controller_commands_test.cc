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

    // Another session keeps its script until it reads the settings again.
    play("session:2 session:1 c q c h s Space session:2 b t Space");
    EXPECT_EQ(run().client("2").inserted(), "體");
    play("settings-saved b t Space");
    EXPECT_EQ(run().client("2").inserted(), "體体");
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

TEST_F(ControllerCommandsTest, ANonPrefixLetterGivesTheLettersBackAsACode) {
    EXPECT_EQ(play("c q s e").marked, "cqse");
    const StepReport report = play("x");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(report.marked, "金手尸水難");
    EXPECT_EQ(controller().command(), "");
    EXPECT_EQ(controller().engine()->code, "cqsex");
    EXPECT_EQ(play("Space").inserted, "試");
}

TEST_F(ControllerCommandsTest, ALetterSequenceThatIsNoCommandIsLookedUp) {
    StepReport report = play("c q s Space");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(report.beeps, 1);
    EXPECT_EQ(report.marked, "");
    report = play("c q s e x Space");
    EXPECT_EQ(report.inserted, "試");
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
    // A code byte that no command continues is given back with the letters.
    const StepReport report = play("1");
    EXPECT_EQ(report.handled, true);
    EXPECT_EQ(controller().command(), "");
    EXPECT_EQ(controller().engine()->code, "cqs");
}

}  // namespace
}  // namespace kv::testing
