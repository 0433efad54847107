// SPDX-License-Identifier: MIT
// The shared candidate window seen from a session: the list, the highlight, the toolbar and how
// it follows the insertion point, and the window's clicks and buttons.
#include "settings/settings_keys.h"
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

using ControllerToolbarTest = ControllerTest;

TEST_F(ControllerToolbarTest, WhileTypingTheToolbarFollowsUntilShortlyAfterTheLastKey) {
    set(SettingsKey::ToolbarFollowMode, std::int64_t{2});
    // Activation shows the toolbar parked, not following.
    EXPECT_FALSE(play("activate").panel.follow);
    EXPECT_TRUE(play("a").panel.follow);
    EXPECT_TRUE(play("wait:0.5 b").panel.follow);
    EXPECT_TRUE(play("wait:0.5 a").panel.follow);
    const int afterLastKey = panelChanges();

    // The two earlier end steps fall due meanwhile and do nothing.
    EXPECT_TRUE(play("wait:0.89").panel.follow);
    EXPECT_EQ(panelChanges(), afterLastKey);
    EXPECT_TRUE(controller().temporaryFollowPending());

    // 0.9 seconds after the last key: one showing, parked.
    const StepReport end = play("wait:0.01");
    EXPECT_FALSE(end.panel.follow);
    EXPECT_TRUE(end.panel.visible);
    EXPECT_TRUE(end.panel.toolbar);
    EXPECT_GT(panelChanges(), afterLastKey);
    EXPECT_FALSE(controller().temporaryFollowPending());
    const int afterEnd = panelChanges();
    play("wait:10");
    EXPECT_EQ(panelChanges(), afterEnd);
    EXPECT_EQ(run().clock().pending(), 0u);
}

TEST_F(ControllerToolbarTest, SwitchesDeactivationSettingsAndClosingVoidThePendingEndOfTyping) {
    set(SettingsKey::ToolbarFollowMode, std::int64_t{2});
    play("a wait:0.5");
    EXPECT_FALSE(play("app-switch").panel.visible);
    const int afterSwitch = panelChanges();
    EXPECT_FALSE(play("wait:2").panel.visible);
    EXPECT_EQ(panelChanges(), afterSwitch);
    EXPECT_FALSE(controller().temporaryFollowPending());

    play("activate a deactivate");
    const int afterDeactivation = panelChanges();
    play("wait:2");
    EXPECT_EQ(panelChanges(), afterDeactivation);

    play("activate b settings-saved");
    EXPECT_FALSE(controller().temporaryFollowPending());
    const int afterSettings = panelChanges();
    play("wait:2");
    EXPECT_EQ(panelChanges(), afterSettings);

    // A closed session's pending step is skipped.
    play("a");
    run().closeSession("1");
    const int afterClose = panelChanges();
    EXPECT_GE(run().clock().pending(), 1u);
    run().clock().advance(2);
    EXPECT_EQ(panelChanges(), afterClose);
}

TEST_F(ControllerToolbarTest, FixedFollowModes) {
    for (const std::string_view script : {"activate", "a", "b", "Escape", "a Space"}) {
        EXPECT_FALSE(play(script).panel.follow) << script;
    }
    set(SettingsKey::ToolbarFollowMode, std::int64_t{1});
    play("settings-saved");
    for (const std::string_view script : {"activate", "a", "b", "Escape", "a Space"}) {
        const StepReport report = play(script);
        EXPECT_TRUE(report.panel.follow) << script;
        EXPECT_TRUE(report.panel.toolbar) << script;
    }
    // Out-of-range values are clamped.
    set(SettingsKey::ToolbarFollowMode, std::int64_t{7});
    play("settings-saved");
    EXPECT_EQ(controller().toolbarFollowMode(), 2);
    set(SettingsKey::ToolbarFollowMode, std::int64_t{-3});
    play("settings-saved");
    EXPECT_EQ(controller().toolbarFollowMode(), 0);
}

TEST_F(ControllerToolbarTest, WithoutThePersistentToolbarACommitHidesTheWindow) {
    set(SettingsKey::PersistentToolbar, false);
    EXPECT_FALSE(play("activate").panel.visible);
    EXPECT_FALSE(play("a b").panel.visible);
    EXPECT_TRUE(play("Space").panel.visible);
    const StepReport report = play("1");
    EXPECT_EQ(report.inserted, "明");
    EXPECT_FALSE(report.panel.visible);
}

TEST_F(ControllerToolbarTest, TheScriptButtonRedrawsTheListWithTheSameHighlight) {
    const StepReport shown = play("h x Space Down Down");
    EXPECT_EQ(shown.panel.items.front(), "體");
    EXPECT_EQ(shown.panel.page, "1/2");
    StepReport report = play("button:script");
    EXPECT_EQ(report.panel.items,
              (Strings{"体", "国", "门", "学", "这", "个", "们", "会", "来", "时"}));
    EXPECT_EQ(report.panel.selected, 2);
    EXPECT_EQ(stored(SettingsKey::SimplifiedOutput), "YES");
    EXPECT_EQ(window().scriptButton().title(), "簡");
    EXPECT_EQ(play("Return").inserted, "门");

    // With no list the toolbar shows the new state.
    report = play("button:script");
    EXPECT_TRUE(report.panel.toolbar);
    EXPECT_EQ(stored(SettingsKey::SimplifiedOutput), "NO");
    EXPECT_EQ(window().scriptButton().title(), "繁");

    report = play("button:width");
    EXPECT_EQ(stored(SettingsKey::FullwidthMode), "YES");
    EXPECT_TRUE(controller().fullwidthMode());
    EXPECT_EQ(window().widthButton().title(), "全");
}

TEST_F(ControllerToolbarTest, RowClicksAndTheSliderChoose) {
    EXPECT_EQ(play("e Space click:4").inserted, "五");
    EXPECT_EQ(play("e Space Right click:2").inserted, "萬");
    // An empty row cannot be clicked.
    StepReport report = play("a b Space click:5");
    EXPECT_EQ(report.inserted, "");
    EXPECT_EQ(report.marked, "日月");

    // The slider tells the new highlight; Return commits it.
    play("Escape e Space");
    controller().candidateWindowDidMoveToIndex(window(), 20);
    EXPECT_EQ(play("Return").inserted, "辛");

    // A highlight outside the list is not shown.
    play("e Space");
    controller().candidateWindowDidMoveToIndex(window(), 99);
    controller().updateCandidateSelection();
    EXPECT_EQ(window().selectedIndex(), 0);
}

TEST_F(ControllerToolbarTest, ASettingsChangeRedrawsTheListOrTheToolbar) {
    play("h x Space Down");
    set(SettingsKey::LetterSelection, true);
    set(SettingsKey::SimplifiedOutput, true);
    StepReport report = play("settings-saved");
    EXPECT_EQ(report.panel.items.front(), "体");
    EXPECT_EQ(report.panel.selected, 1);
    EXPECT_EQ(window().number(0).text, "a");
    EXPECT_EQ(window().number(9).text, ":");
    EXPECT_EQ(play("d").inserted, "门");

    set(SettingsKey::PersistentToolbar, false);
    EXPECT_FALSE(play("settings-saved").panel.visible);
    set(SettingsKey::PersistentToolbar, true);
    report = play("settings-saved");
    EXPECT_TRUE(report.panel.visible);
    EXPECT_TRUE(report.panel.toolbar);
}

}  // namespace
}  // namespace kv::testing
