// SPDX-License-Identifier: MIT
// The candidate window's geometry: sizes for the font and the widest candidate, and placement.
#include "candidate_test_support.h"
#include "settings/settings_keys.h"

namespace kv::testing {
namespace {

class CandidateLayoutTest : public CandidateWindowTest {
  protected:
    // Candidates whose widest measures exactly 100 points at 16 points: five characters at an
    // advance of 1.25 em.
    std::vector<std::string> hundredPointPage(int count) {
        services.measurer().advance = 1.25;
        std::vector<std::string> list = Candidates(count);
        list[0] = Wide(5);
        return list;
    }
};

TEST_F(CandidateLayoutTest, DefaultFontWithAHundredPointCandidate) {
    show(hundredPointPage(10));
    EXPECT_EQ(window->rowHeight(), 34);
    EXPECT_EQ(window->panel().frame().size, (Size{348, 388}));
    EXPECT_EQ(window->contentView().frame, Rect(0, 0, 348, 388));
    EXPECT_EQ(window->toolbar().frame, Rect(5, 345, 338, 38));
    EXPECT_EQ(window->titleLabel().frame, Rect(8, 8, 100, 22));
    EXPECT_EQ(window->pageLabel().frame, Rect(104, 8, 50, 22));
    // "10/12" and "11/12" take the same room.
    EXPECT_EQ(window->pageLabel().font, Font::monospacedDigitSystem(14));
    EXPECT_EQ(window->scriptButton().frame, Rect(154, 4, 34, 29));
    EXPECT_EQ(window->widthButton().frame.minX(), 190);
    EXPECT_EQ(window->settingsButton().frame.minX(), 226);
    EXPECT_EQ(window->wordsButton().frame.minX(), 262);
    EXPECT_EQ(window->keyboardButton().frame, Rect(298, 4, 34, 29));
    EXPECT_EQ(window->row(0).frame, Rect(5, 311, 338, 34));
    EXPECT_EQ(window->row(9).frame, Rect(5, 5, 338, 34));
    EXPECT_EQ(window->number(0).frame, Rect(8, 5.5, 30, 23));
    EXPECT_EQ(window->text(0).frame, Rect(48, 5.5, 284, 23));
    EXPECT_EQ(window->rowButton(4).frame, Rect(0, 0, 338, 34));
    EXPECT_EQ(window->text(0).font, Font::system(16));
    EXPECT_EQ(window->number(0).font, Font::system(16));
    // Exactly ten candidates need no slider.
    EXPECT_TRUE(window->pageSlider().hidden);
}

TEST_F(CandidateLayoutTest, MoreThanTenCandidatesMakeRoomForTheSlider) {
    show(hundredPointPage(23));
    EXPECT_EQ(window->panel().frame().size, (Size{348, 388}));
    EXPECT_EQ(window->row(0).frame, Rect(5, 311, 320, 34));
    EXPECT_EQ(window->text(0).frame.width(), 266);
    EXPECT_FALSE(window->pageSlider().hidden);
    EXPECT_EQ(window->pageSlider().frame, Rect(327, 9, 16, 332));
    EXPECT_EQ(window->pageSlider().minValue, 0);
    EXPECT_EQ(window->pageSlider().maxValue, 2);

    show(Candidates(11));
    EXPECT_FALSE(window->pageSlider().hidden);
    EXPECT_EQ(window->pageSlider().maxValue, 1);
}

TEST_F(CandidateLayoutTest, LargestFontGivesTallerRows) {
    services.defaults().setInteger(SettingsKey::CandidateFontSize, 28);
    show(Candidates(3));
    EXPECT_EQ(window->rowHeight(), 46);
    EXPECT_EQ(window->panel().frame().height(), 508);
    EXPECT_EQ(window->text(0).frame, Rect(48, 5.5, 284, 35));
    EXPECT_EQ(window->number(2).frame, Rect(8, 5.5, 30, 35));
    EXPECT_EQ(window->row(0).frame, Rect(5, 419, 338, 46));
    EXPECT_EQ(window->text(0).font.pointSize, 28);
}

TEST_F(CandidateLayoutTest, SmallerFontsKeepTheRowsAtLeastThirtyFourHigh) {
    services.defaults().setInteger(SettingsKey::CandidateFontSize, 14);
    show(Candidates(3));
    EXPECT_EQ(window->rowHeight(), 34);  // never below 34
    EXPECT_EQ(window->text(0).frame, Rect(48, 6.5, 284, 21));
    services.defaults().setInteger(SettingsKey::CandidateFontSize, 20);
    show(Candidates(3));
    EXPECT_EQ(window->rowHeight(), 38);
}

TEST_F(CandidateLayoutTest, WidthFollowsTheWidestCandidateOfTheVisiblePage) {
    std::vector<std::string> list = Candidates(25);
    list[3] = Wide(20);   // 320 points: page 1 is 412 wide
    list[12] = Wide(40);  // 640 points: page 2 is capped at 660
    show(list, 0);
    EXPECT_EQ(window->panel().frame().width(), 412);
    EXPECT_EQ(window->text(0).frame.width(), 412 - 64 - 18);
    window->selectIndex(12);
    EXPECT_EQ(window->panel().frame().width(), 660);
    EXPECT_EQ(window->text(0).frame.width(), 660 - 64 - 18);
    window->selectIndex(20);
    EXPECT_EQ(window->panel().frame().width(), 348);
}

TEST_F(CandidateLayoutTest, ToolbarAloneIsAStrip) {
    window->showToolbarAtAnchorRect(kAnchor, true, true, false);
    EXPECT_EQ(window->panel().frame().size, (Size{348, 48}));
    EXPECT_EQ(window->toolbar().frame, Rect(5, 5, 338, 38));
    EXPECT_EQ(window->pageLabel().text, "");
    EXPECT_TRUE(window->pageSlider().hidden);
    for (std::size_t r = 0; r < 10; ++r) {
        EXPECT_TRUE(window->row(r).hidden) << r;
    }
    EXPECT_EQ(window->scriptButton().title(), "簡");
    EXPECT_EQ(window->widthButton().title(), "全");

    // Candidates bring the rows back, and the titles follow the arguments.
    show(Candidates(3));
    EXPECT_FALSE(window->row(0).hidden);
    EXPECT_EQ(window->panel().frame().height(), 388);
    EXPECT_EQ(window->scriptButton().title(), "繁");
    EXPECT_EQ(window->widthButton().title(), "半");
}

TEST_F(CandidateLayoutTest, PanelGoesBelowTheAnchorOrAboveWhenThereIsNoRoom) {
    show(Candidates(3), 0, Rect(500, 600, 1, 18));
    EXPECT_EQ(window->panel().frame().origin, (Point{500, 208}));
    show(Candidates(3), 0, Rect(500, 300, 1, 18));
    EXPECT_EQ(window->panel().frame().origin, (Point{500, 322}));
}

TEST_F(CandidateLayoutTest, PanelStaysWithinTheVisibleFrame) {
    show(Candidates(3), 0, Rect(1300, 600, 1, 18));
    EXPECT_EQ(window->panel().frame().origin, (Point{1092, 208}));
    // Near the top the panel's top meets the visible frame's (the menu bar stays free).
    show(Candidates(3), 0, Rect(100, 880, 1, 18));
    EXPECT_EQ(window->panel().frame().origin, (Point{100, 875 - 388}));
    // An anchor left of every screen uses the main one; the left edge is clamped.
    show(Candidates(3), 0, Rect(-50, 600, 1, 18));
    EXPECT_EQ(window->panel().frame().origin, (Point{0, 208}));
}

TEST_F(CandidateLayoutTest, PanelGoesOnTheScreenThatHoldsTheAnchor) {
    services.screens().list.push_back({Rect(1440, 0, 1920, 1080), Rect(1440, 40, 1920, 1040)});
    show(Candidates(3), 0, Rect(3300, 200, 1, 18));
    // Too low for below, so above; too far right, so clamped to the second screen's edge.
    EXPECT_EQ(window->panel().frame().origin, (Point{1440 + 1920 - 348, 222}));
    // Off every screen: the main screen's visible frame.
    show(Candidates(3), 0, Rect(-5000, -5000, 1, 18));
    EXPECT_EQ(window->panel().frame().origin, (Point{0, 0}));
}

TEST_F(CandidateLayoutTest, PanelLargerThanTheScreenKeepsItsTopLeftOnIt) {
    services.screens().list = {{Rect(0, 0, 300, 200), Rect(0, 0, 300, 200)}};
    show(Candidates(3), 0, Rect(50, 100, 1, 18));
    EXPECT_EQ(window->panel().frame().origin, (Point{300 - 348, 200 - 388}));
}

}  // namespace
}  // namespace kv::testing
