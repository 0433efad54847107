// SPDX-License-Identifier: MIT
// What a desktop does around a session: it ends compositions on clicks, focuses no field at
// all, reports the caret late, oddly or not at all, and chooses the panel that draws the list.
#include "controller/candidate_panel_choice.h"
#include "controller/caret_rules.h"
#include "settings/settings_keys.h"
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

using ControllerFocusTest = ControllerTest;

TEST_F(ControllerFocusTest, AClickWithNothingComposedChangesNothingOnScreen) {
    // Toolkits reset on every click (the click with a list up is the desktop suite's).
    play("activate");
    const int before = panelChanges();
    controller().commitComposition(&client());
    EXPECT_EQ(panelChanges(), before);
}

TEST_F(ControllerFocusTest, TheToolbarWaitsForTheClientsCaret) {
    play("deactivate");
    client().raises = true;  // a client that has told no caret yet
    EXPECT_FALSE(play("activate").panel.visible);
    // A list has to show somewhere; once it is gone, nothing takes the corner for the caret.
    EXPECT_FALSE(play("a b Space").panel.toolbar);
    EXPECT_FALSE(play("1").panel.visible);

    // A session without the focus shows nothing, whatever its client reports.
    play("deactivate");
    controller().clientCaretDidChange();
    EXPECT_FALSE(window().panel().isVisible());
    EXPECT_FALSE(play("settings-saved").panel.visible);
}

TEST(CaretRulesTest, WhatAReportedCaretIsWorth) {
    // IBus's own context reports an empty rectangle at the origin: no caret (the lifecycle suite
    // shows what it does on a desktop, and the caret as tall as a text view).
    EXPECT_EQ(KVCaretFromReport(Rect(0, 0, 0, 0)), std::nullopt);
    EXPECT_EQ(KVCaretFromReport(Rect(0, 0, 2, 18)), Rect(0, 0, 2, 18));
    // A point (X input methods tell a spot) stands for a line starting there.
    EXPECT_EQ(KVCaretFromReport(Rect(300, 40, 0, 0)), Rect(300, 40, 1, kAssumedLineHeight));
    EXPECT_EQ(KVCaretFromReport(Rect(200, 100, 1, kTallestCaret + 1)),
              Rect(200, 100, 1, kAssumedLineHeight));
    EXPECT_EQ(KVCaretFromReport(Rect(200, 100, 1, kTallestCaret)),
              Rect(200, 100, 1, kTallestCaret));
}

TEST(CandidatePanelChoiceTest, TheStoredChoiceThenTheSession) {
    const KVPanelSituation x11{true, false, true};
    const KVPanelSituation waylandNoCaret{true, true, false};
    const KVPanelSituation waylandWithCaret{true, true, true};
    const KVPanelSituation noWindowsAtCaret{false, true, true};
    EXPECT_FALSE(KVUseDesktopPanel(CandidatePanelValue::Own, noWindowsAtCaret));
    for (const std::string_view absent : {"", "Desktop", "both"}) {
        EXPECT_FALSE(KVUseDesktopPanel(absent, x11)) << absent;
        EXPECT_TRUE(KVUseDesktopPanel(absent, waylandNoCaret)) << absent;
        EXPECT_FALSE(KVUseDesktopPanel(absent, waylandWithCaret)) << absent;
        EXPECT_TRUE(KVUseDesktopPanel(absent, noWindowsAtCaret)) << absent;
    }
}

}  // namespace
}  // namespace kv::testing
