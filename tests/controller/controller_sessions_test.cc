// SPDX-License-Identifier: MIT
// Several sessions sharing one candidate window, as every text field of a desktop does: the
// toolbar acts on the session the user is in, a mode flip reaches the others, and a list is
// chosen from only while it is on screen.
#include "settings/settings_keys.h"
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

class ControllerSessionsTest : public ControllerTest {
  protected:
    // The window lists `session`'s candidates now, rather than the toolbar, another list or
    // nothing.
    bool showsListOf(const std::string& session) {
        const KVCandidateWindowDelegate* owner = &run().controller(session);
        return window().panel().isVisible() && !window().toolbarOnly() &&
               window().delegate().get() == owner;
    }
};

TEST_F(ControllerSessionsTest, TheToolbarActsOnTheSessionTheUserCameBackTo) {
    // Three text fields opened one after the other; the user goes back to the first.
    play("session:2 session:3 session:1 activate");
    play("button:script");
    EXPECT_EQ(window().scriptButton().title(), "簡");
    EXPECT_TRUE(run().controller("1").simplifiedMode());
    EXPECT_FALSE(run().controller("3").simplifiedMode());
    EXPECT_EQ(play("b t Space").inserted, "体");

    // Typing shows a session's toolbar, and its buttons with it.
    play("session:3 a button:width");
    EXPECT_TRUE(run().controller("3").fullwidthMode());
    EXPECT_FALSE(run().controller("1").fullwidthMode());
    EXPECT_EQ(window().widthButton().title(), "全");

    // While a session's list is shown, the button redraws that list.
    const StepReport report = play("Escape session:2 activate h x Space button:script");
    EXPECT_EQ(report.panel.items.front(), "體");
    EXPECT_FALSE(run().controller("2").simplifiedMode());
    EXPECT_EQ(stored(SettingsKey::SimplifiedOutput), "NO");
    EXPECT_TRUE(run().controller("1").simplifiedMode());
    EXPECT_EQ(run().client("1").inserted(), "体");
    EXPECT_EQ(run().client("3").inserted(), "");
}

TEST_F(ControllerSessionsTest, AModeFlipReachesTheOtherSessionsWhenTheyAreActivated) {
    play("session:2 session:3 session:1 c q c h s Space Shift+Space");
    EXPECT_EQ(stored(SettingsKey::SimplifiedOutput), "YES");
    EXPECT_EQ(stored(SettingsKey::FullwidthMode), "YES");
    EXPECT_FALSE(run().controller("2").simplifiedMode());

    StepReport report = play("session:2 activate");
    EXPECT_TRUE(report.panel.toolbar);
    EXPECT_EQ(window().scriptButton().title(), "簡");
    EXPECT_EQ(window().widthButton().title(), "全");
    EXPECT_EQ(play("b t Space").inserted, "体");

    // A flip from the toolbar reaches the third session the same way.
    play("button:script");
    EXPECT_EQ(play("session:3 activate b t Space").inserted, "體");
    EXPECT_TRUE(run().controller("3").fullwidthMode());

    // The Chinese/English mode stays the session's own.
    play("CapsLock");
    EXPECT_FALSE(run().controller("3").chineseMode());
    report = play("session:1 activate a Space");
    EXPECT_EQ(report.inserted, "日");
    EXPECT_FALSE(run().controller("1").simplifiedMode());
    EXPECT_FALSE(run().controller("3").chineseMode());
}

TEST_F(ControllerSessionsTest, AHiddenListComesBackBeforeAnyKeyActsOnIt) {
    // Space pages, then another application hides the window.
    play("e Space Space app-switch");
    StepReport report = play("Space");
    EXPECT_EQ(report.handled, true);
    EXPECT_TRUE(showsListOf("1"));
    EXPECT_EQ(report.panel.selected, 10);
    EXPECT_EQ(report.panel.items.front(), "百");
    EXPECT_EQ(report.inserted, "");
    EXPECT_EQ(play("3").inserted, "萬");

    for (const std::string_view key :
         {"3", "Return", "Space", "Right", "Down", "Escape", "Delete", "b", "Shift+a", ";"}) {
        play("e Space Down app-switch");
        report = play(key);
        EXPECT_EQ(report.handled, true) << key;
        EXPECT_TRUE(showsListOf("1")) << key;
        EXPECT_EQ(report.panel.selected, 1) << key;
        EXPECT_EQ(report.marked, "水") << key;
        EXPECT_EQ(report.inserted, "") << key;
        EXPECT_EQ(play("Return").inserted, "二") << key;
    }
    EXPECT_EQ(inserted(), "萬二二二二二二二二二二");
}

TEST_F(ControllerSessionsTest, OtherSessionsLeaveThisListAsItWas) {
    // Session 1 is on the second page of its list when session 2 shows a list of its own.
    play("e Space Right session:2 w Space session:1");
    StepReport report = play("3");
    EXPECT_TRUE(showsListOf("1"));
    EXPECT_EQ(report.panel.selected, 10);
    EXPECT_EQ(report.inserted, "");
    EXPECT_EQ(play("3").inserted, "萬");
    EXPECT_EQ(run().controller("2").engine()->candidates.size(), 10u);
    play("session:2 activate Escape session:1");

    // A third session deactivated late, or closed, hides the window.
    play("e Space Right session:3 deactivate session:1");
    EXPECT_EQ(play("Space").panel.selected, 10);
    EXPECT_EQ(play("Space").panel.selected, 20);
    run().closeSession("3");
    EXPECT_FALSE(window().panel().isVisible());
    EXPECT_EQ(play("Down").panel.selected, 20);
    EXPECT_EQ(play("Down").panel.selected, 21);

    // A settings change that hides the window in session 2.
    set(SettingsKey::PersistentToolbar, false);
    EXPECT_FALSE(play("settings-saved").panel.visible);
    report = play("1");
    EXPECT_EQ(report.panel.selected, 21);
    EXPECT_EQ(report.inserted, "");
    EXPECT_EQ(play("2").inserted, "壬");
    EXPECT_EQ(run().client("2").inserted(), "");
}

TEST_F(ControllerSessionsTest, OnScreenKeysAndClicksAlsoWaitForTheList) {
    play("button:keyboard session:2 session:1 activate e Space Right");
    run().closeSession("2");
    play("osk:3");
    EXPECT_TRUE(showsListOf("1"));
    EXPECT_EQ(window().selectedIndex(), 10);
    EXPECT_EQ(inserted(), "");
    EXPECT_EQ(play("osk:3").inserted, "萬");

    // A click on another session's list chooses nothing in this one.
    play("e Space session:3 w Space session:1");
    run().controller("1").candidateWindowDidChooseIndex(window(), 2);
    EXPECT_EQ(inserted(), "萬");
    play("click:2");
    EXPECT_EQ(run().client("3").inserted(), "甲");
    EXPECT_EQ(inserted(), "萬");
}

}  // namespace
}  // namespace kv::testing
