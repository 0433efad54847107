// SPDX-License-Identifier: MIT
// Paging, clamping, the page label, the rows and the slider of the candidate window.
#include "candidate_test_support.h"

namespace kv::testing {
namespace {

using CandidatePagingTest = CandidateWindowTest;

TEST_F(CandidatePagingTest, SelectingWithinAPageRefillsAndAcrossLaysOutAgain) {
    std::vector<std::string> list = Candidates(23);
    list[20] = Wide(30);  // only the third page is wide
    show(list, 12);
    EXPECT_EQ(window->panel().frame().width(), 348);

    window->selectIndex(19);
    EXPECT_EQ(window->pageLabel().text, "2/3");
    EXPECT_EQ(window->row(9).layer.backgroundColor.alpha, 1);
    EXPECT_EQ(window->panel().frame().width(), 348);

    window->selectIndex(20);
    EXPECT_EQ(window->pageLabel().text, "3/3");
    EXPECT_EQ(window->panel().frame().width(), 30 * 16 + 92);
    for (std::size_t r = 3; r < 10; ++r) {
        EXPECT_TRUE(window->number(r).hidden && window->text(r).hidden) << r;
        EXPECT_FALSE(window->rowButton(r).enabled) << r;
    }
}

TEST_F(CandidatePagingTest, SelectedIndexIsClampedIntoTheListAndLaterOnesOutsideIgnored) {
    show(Candidates(23), 50);
    EXPECT_EQ(window->selectedIndex(), 22);
    EXPECT_EQ(window->pageLabel().text, "3/3");

    show(Candidates(23), -4);
    EXPECT_EQ(window->selectedIndex(), 0);
    EXPECT_EQ(window->pageLabel().text, "1/3");

    show(Candidates(23), 12);
    window->selectIndex(23);
    window->selectIndex(-1);
    EXPECT_EQ(window->selectedIndex(), 12);
    EXPECT_EQ(window->pageStart(), 10);
}

TEST_F(CandidatePagingTest, ShortSelectionKeysFallBackToDigitsAndKeysAreCharacters) {
    window->showCandidates(Candidates(10), "abc", 0, false, false, kAnchor, "");
    EXPECT_EQ(window->number(0).text, "1");
    EXPECT_EQ(window->number(9).text, "0");

    // Ten characters, not ten bytes.
    window->showCandidates(Candidates(10), "一二三四五六七八九十", 0, false, false, kAnchor, "");
    EXPECT_EQ(window->number(1).text, "二");
    EXPECT_EQ(window->number(9).text, "十");
}

TEST_F(CandidatePagingTest, TheShownListIsThePageTheRowsShowWithItsReading) {
    // What the views show, read back as the desktop's panel did before it had the value.
    const auto drawn = [this] {
        KVShownList list;
        list.visible = window->panel().isVisible() && !window->toolbarOnly();
        for (std::size_t r = 0; list.visible && r < 10 && !window->text(r).hidden; ++r) {
            list.rows.push_back(window->text(r).text);
            list.labels.push_back(window->number(r).text);
            if (window->row(r).layer.backgroundColor.alpha == 1) {
                list.highlight = r;
            }
        }
        list.pageLabel = list.visible ? window->pageLabel().text : "";
        // The views draw the page numbers only as the label, checked below on their own.
        list.reading = window->shownList().reading;
        list.page = window->shownList().page;
        list.pageCount = window->shownList().pageCount;
        return list;
    };
    std::vector<std::string> candidates;
    candidates.reserve(23);
    for (int i = 0; i < 23; ++i) {
        candidates.push_back("c" + std::to_string(i));
    }
    window->showCandidates(candidates, "asdfghjkl:", 12, false, false, kAnchor, "水");
    const KVShownList shown = window->shownList();
    EXPECT_EQ(shown, drawn());
    EXPECT_EQ(shown.rows.front() + shown.rows.back(), "c10c19");
    EXPECT_EQ(shown.labels.front() + shown.labels.back(), "a:");
    EXPECT_TRUE(window->rowButton(9).enabled);
    EXPECT_EQ(window->pageSlider().integerValue(), 1);
    EXPECT_EQ(shown.highlight, 2u);
    EXPECT_EQ(shown.pageLabel, "2/3");
    EXPECT_EQ(shown.page, 1u);
    EXPECT_EQ(shown.pageCount, 3u);
    EXPECT_EQ(shown.reading, "水");

    // The last, short page; then the wheel turns back a page and the highlight goes with it.
    window->selectIndex(21);
    EXPECT_EQ(window->shownList(), drawn());
    EXPECT_EQ(window->shownList().rows.size(), 3u);
    EXPECT_EQ(window->shownList().highlight, 1u);
    window->scrollWheel(-1);
    EXPECT_EQ(window->shownList(), drawn());
    EXPECT_EQ(window->shownList().pageLabel, "2/3");
    EXPECT_EQ(window->shownList().highlight, 0u);

    // An empty list is still a list on screen, page 1/1 with ten empty rows and no highlight.
    window->showCandidates({}, "1234567890", 5, false, false, kAnchor, "日");
    EXPECT_EQ(window->shownList(), drawn());
    EXPECT_TRUE(window->shownList().visible);
    EXPECT_EQ(window->shownList().pageLabel, "1/1");
    EXPECT_EQ(window->shownList().pageCount, 1u);
    EXPECT_TRUE(window->pageSlider().hidden);
    for (std::size_t r = 0; r < 10; ++r) {
        EXPECT_FALSE(window->row(r).hidden || window->rowButton(r).enabled) << r;
        EXPECT_TRUE(window->number(r).hidden) << r;
    }

    // The toolbar alone, or nothing shown, is no list and keeps no reading of one.
    window->showToolbarAtAnchorRect(kAnchor, false, false, false);
    EXPECT_EQ(window->shownList(), KVShownList());
    show(Candidates(23), 15);
    window->hide();
    window->selectIndex(3);  // nothing to select any more
    EXPECT_EQ(window->shownList(), KVShownList());
    EXPECT_EQ(window->selectedIndex(), 0);
}

TEST_F(CandidatePagingTest, SliderAtTheBottomOfTwentyOneSelectsTheLastCandidate) {
    window->setDelegate(delegate);
    show(Candidates(21), 0);
    const Slider& slider = window->pageSlider();
    EXPECT_EQ(slider.integerValue(), 2);
    click({slider.frame.midX(), slider.frame.minY()});
    EXPECT_EQ(window->pageStart(), 20);
    EXPECT_EQ(window->selectedIndex(), 20);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"move 20"}));
    // The slider does not lay out again: the width stays.
    EXPECT_EQ(window->panel().frame().width(), 348);
}

TEST_F(CandidatePagingTest, DraggingTheKnobAndTurningTheWheelPageTheList) {
    window->setDelegate(delegate);
    show(Candidates(37), 0);  // four pages
    PanelContent& content = *window->panel().content;
    const Slider& slider = window->pageSlider();
    const auto along = [&slider](double share) {
        return Point{slider.frame.midX(),
                     slider.frame.minY() + 8 + share * (slider.frame.height() - 16)};
    };

    // A press moves to the page under it; the knob follows the drag, page by page, and stops
    // following once the button is up.
    EXPECT_FALSE(click(along(1)));
    content.mouseDragged(along(1.2));  // past the top: still the first page, nothing to tell
    content.mouseDragged(along(0.5));
    EXPECT_EQ(window->pageLabel().text, "3/4");
    content.mouseDragged(along(0));
    EXPECT_EQ(window->selectedIndex(), 30);
    content.mouseUp(along(0));
    content.mouseDragged(along(1));
    EXPECT_EQ(window->pageStart(), 30);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"move 0", "move 20", "move 30"}));

    // A drag that starts on a row leaves the slider alone.
    delegate->calls.clear();
    click(rowCentre(3));
    content.mouseDragged(along(1));
    EXPECT_EQ(window->pageStart(), 30);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"choose 33"}));

    // The wheel: down past the last page does nothing, up turns back one page a notch, and a
    // touchpad's fractions add up to a notch.
    delegate->calls.clear();
    const Point middle = rowCentre(5);
    content.scrollWheel(middle, 1);
    content.scrollWheel(middle, -1);
    EXPECT_EQ(window->pageLabel().text, "3/4");
    content.scrollWheel(middle, -0.4);
    content.scrollWheel(middle, -0.4);
    EXPECT_EQ(window->pageStart(), 20);
    content.scrollWheel(middle, -0.4);
    EXPECT_EQ(window->pageStart(), 10);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"move 20", "move 10"}));

    // The toolbar alone has no pages to turn.
    window->showToolbarAtAnchorRect(kAnchor, false, false, false);
    content.scrollWheel(middle, 3);
    EXPECT_EQ(window->pageLabel().text, "");
    EXPECT_EQ(delegate->calls.size(), 2u);
}

TEST(CandidatePageRules, EdgesTheKeysDoNotReach) {
    // Wrapping and the home row are the controller's key tests; these are the edges.
    EXPECT_EQ(TurnPage(10, 0, 1), 0);  // one page turns onto itself
    EXPECT_EQ(TurnPage(0, 0, -1), 0);
    EXPECT_EQ(SelectionRow("", false), std::nullopt);
    EXPECT_EQ(SelectionRow("12", false), std::nullopt);
}

}  // namespace
}  // namespace kv::testing
