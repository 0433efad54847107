// SPDX-License-Identifier: MIT
// What the delegate hears of the user's clicks and presses, and that a gone delegate hears nothing.
#include "candidate_test_support.h"

namespace kv::testing {
namespace {

using CandidateDelegateTest = CandidateWindowTest;

TEST_F(CandidateDelegateTest, RowClickChoosesTheAbsoluteIndexAndChangesNothing) {
    window->setDelegate(delegate);
    show(Candidates(23), 12);
    EXPECT_FALSE(click(rowCentre(2)));
    EXPECT_FALSE(click({window->row(7).frame.minX() + 2, window->row(7).frame.minY() + 1}));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"choose 12", "choose 17"}));
    EXPECT_EQ(window->selectedIndex(), 12);
    EXPECT_TRUE(window->panel().isVisible());

    // On the last page, a row without a candidate says nothing.
    delegate->calls.clear();
    show(Candidates(23), 22);
    click(rowCentre(5));
    EXPECT_TRUE(delegate->calls.empty());
    click(rowCentre(2));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"choose 22"}));
}

TEST_F(CandidateDelegateTest, EachToolbarButtonSendsItsOneMessage) {
    window->setDelegate(delegate);
    show(Candidates(3));
    const View& toolbar = window->toolbar();
    for (const Button* button :
         {&window->scriptButton(), &window->widthButton(), &window->settingsButton(),
          &window->wordsButton(), &window->keyboardButton()}) {
        EXPECT_FALSE(click(centreOf(*button, toolbar)));
    }
    EXPECT_EQ(delegate->calls,
              (std::vector<std::string>{"script", "width", "settings", "words", "keyboard"}));
    // The window does not flip its own buttons; the delegate shows it again for that.
    EXPECT_EQ(window->scriptButton().title(), "繁");
    EXPECT_EQ(window->widthButton().title(), "半");

    // The toolbar shown alone answers as well.
    delegate->calls.clear();
    window->showToolbarAtAnchorRect(kAnchor, false, false, false);
    click(centreOf(window->keyboardButton(), window->toolbar()));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"keyboard"}));
}

TEST_F(CandidateDelegateTest, BackgroundPressesDragThePanelAndSayNothing) {
    window->setDelegate(delegate);
    show(Candidates(3));
    EXPECT_TRUE(click(centreOf(window->titleLabel(), window->toolbar())));
    EXPECT_TRUE(click({2, 2}));  // the margin below the rows
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(CandidateDelegateTest, MessagesGoToTheDelegateOfTheMomentAndAGoneOneHearsNothing) {
    auto later = std::make_shared<RecordingDelegate>();
    window->setDelegate(delegate);
    show(Candidates(23), 0);
    click(rowCentre(1));
    window->setDelegate(later);
    click(rowCentre(2));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"choose 1"}));
    EXPECT_EQ(later->calls, (std::vector<std::string>{"choose 2"}));

    later.reset();
    EXPECT_EQ(window->delegate(), nullptr);
    click(rowCentre(0));
    click(centreOf(window->scriptButton(), window->toolbar()));
    const Slider& slider = window->pageSlider();
    click({slider.frame.midX(), slider.frame.minY()});
    // The window itself still pages.
    EXPECT_EQ(window->pageStart(), 20);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"choose 1"}));
}

}  // namespace
}  // namespace kv::testing
