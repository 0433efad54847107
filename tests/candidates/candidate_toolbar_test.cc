// SPDX-License-Identifier: MIT
// The toolbar shown alone: parked where it was first shown or dragged, or following the caret.
#include "candidate_test_support.h"

namespace kv::testing {
namespace {

using CandidateToolbarTest = CandidateWindowTest;

constexpr Rect kFirst{500, 600, 1, 18};
constexpr Rect kSecond{800, 400, 1, 18};
constexpr Rect kThird{200, 700, 1, 18};

// Where a 48-point toolbar goes below an anchor.
Point Below(const Rect& anchor) {
    return {anchor.minX(), anchor.minY() - 48 - 4};
}

TEST_F(CandidateToolbarTest, FirstPlaceIsParkedAndLaterAnchorsAreIgnored) {
    window->showToolbarAtAnchorRect(kFirst, false, false, false);
    EXPECT_TRUE(window->panel().isVisible());
    EXPECT_EQ(window->panel().frame().origin, Below(kFirst));
    window->showToolbarAtAnchorRect(kSecond, false, false, false);
    EXPECT_EQ(window->panel().frame().origin, Below(kFirst));
}

TEST_F(CandidateToolbarTest, UserDragParksThePanelWhereItWasDropped) {
    window->showToolbarAtAnchorRect(kFirst, false, false, false);
    window->panel().userDidMove({40, 50});
    window->showToolbarAtAnchorRect(kSecond, false, false, false);
    EXPECT_EQ(window->panel().frame().origin, (Point{40, 50}));

    // A drag while candidates show parks too; candidates themselves still go to the anchor.
    show(Candidates(3), 0, kThird);
    EXPECT_EQ(window->panel().frame().origin, (Point{200, 700 - 388 - 4}));
    window->panel().userDidMove({90, 120});
    window->showToolbarAtAnchorRect(kSecond, false, false, false);
    EXPECT_EQ(window->panel().frame().origin, (Point{90, 120}));
}

TEST_F(CandidateToolbarTest, FollowingJumpsToTheAnchorAndComesBackWhenItEnds) {
    window->showToolbarAtAnchorRect(kFirst, false, false, false);
    window->showToolbarAtAnchorRect(kSecond, false, false, true);
    EXPECT_EQ(window->panel().frame().origin, Below(kSecond));
    window->showToolbarAtAnchorRect(kThird, false, false, true);
    EXPECT_EQ(window->panel().frame().origin, Below(kThird));
    window->showToolbarAtAnchorRect(kSecond, false, false, false);
    EXPECT_EQ(window->panel().frame().origin, Below(kFirst));
}

TEST_F(CandidateToolbarTest, FollowingFromAVisiblePanelParksWhereItWas) {
    show(Candidates(3), 0, kThird);
    const Point shown = window->panel().frame().origin;
    window->showToolbarAtAnchorRect(kSecond, false, false, true);
    EXPECT_EQ(window->panel().frame().origin, Below(kSecond));
    window->showToolbarAtAnchorRect(kFirst, false, false, false);
    // The panel returns to the place it had before following, now 48 points high.
    EXPECT_EQ(window->panel().frame().origin, shown);
}

TEST_F(CandidateToolbarTest, DraggingWhileFollowingDoesNotPark) {
    window->showToolbarAtAnchorRect(kFirst, false, false, false);
    window->showToolbarAtAnchorRect(kSecond, false, false, true);
    window->panel().userDidMove({10, 10});
    window->showToolbarAtAnchorRect(kThird, false, false, false);
    EXPECT_EQ(window->panel().frame().origin, Below(kFirst));
}

TEST_F(CandidateToolbarTest, HiddenPanelKeepsItsParkedPlace) {
    window->showToolbarAtAnchorRect(kFirst, false, false, false);
    window->panel().userDidMove({33, 44});
    window->hide();
    EXPECT_FALSE(window->panel().isVisible());
    // A move of the hidden panel is no drag of the user's.
    window->panel().userDidMove({700, 700});
    window->showToolbarAtAnchorRect(kSecond, false, false, false);
    EXPECT_TRUE(window->panel().isVisible());
    EXPECT_EQ(window->panel().frame().origin, (Point{33, 44}));
}

TEST_F(CandidateToolbarTest, FollowingWithNothingVisibleParksNothing) {
    window->showToolbarAtAnchorRect(kSecond, false, false, true);
    window->showToolbarAtAnchorRect(kFirst, false, false, false);
    // Nothing was parked before, so the toolbar goes to the anchor and parks there.
    EXPECT_EQ(window->panel().frame().origin, Below(kFirst));
    window->showToolbarAtAnchorRect(kThird, false, false, false);
    EXPECT_EQ(window->panel().frame().origin, Below(kFirst));
}

}  // namespace
}  // namespace kv::testing
