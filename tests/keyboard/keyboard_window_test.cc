// SPDX-License-Identifier: MIT
// The keyboard window: its panel, when it shows and hides, and the notification of each click.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyboard/keyboard_window.h"
#include "platform/memory/memory_services.h"
#include "tests/keyboard/keyboard_test_support.h"

namespace kv {
namespace {

using test::Centre;

class KeyboardWindow : public ::testing::Test {
  protected:
    KeyboardWindow() {
        defaultCenter().addObserver(this, KVKeyboardKeyPressedNotification,
                                    [this](const Notification& n) { heard.push_back(n); });
    }

    // A click in the panel's content, as the panel body passes it on; true asks for a drag.
    bool click(Point point) { return window.panel().content->mouseDown(point); }

    // How often the panel body has been told to show the records again.
    int bodyChanges() const {
        return dynamic_cast<const RecordingPanelBody&>(*window.panel().body()).changes;
    }

    MemoryServices services;
    KVKeyboardWindow window;
    std::vector<Notification> heard;
};

TEST_F(KeyboardWindow, PanelStartsHiddenCentredAndFloating) {
    const Panel& panel = window.panel();
    ASSERT_EQ(services.panels().panels.size(), 1u);
    EXPECT_EQ(services.panels().panels[0], &panel);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(window.requestedVisible());
    EXPECT_EQ(panel.frame(), Rect(360, 262.5, 720, 350));
    EXPECT_EQ(panel.level, Panel::Level::Floating);
    EXPECT_TRUE(panel.resizable);
    EXPECT_FALSE(panel.hidesOnDeactivate);
    EXPECT_TRUE(panel.becomesKeyOnlyIfNeeded);
    EXPECT_EQ(panel.minSize, (Size{520, 290}));
    EXPECT_EQ(panel.backgroundColor, Color::clear());
    EXPECT_TRUE(panel.opaque);
    EXPECT_EQ(panel.content, &window.keyboardView());
    EXPECT_EQ(window.keyboardView().bounds(), Rect(0, 0, 720, 350));
}

TEST_F(KeyboardWindow, UserResizesAreFollowedByTheViewAndStopAtTheMinimum) {
    window.panel().userDidResize({1200, 580});
    EXPECT_EQ(window.keyboardView().bounds(), Rect(0, 0, 1200, 580));
    click(Centre(window.keyboardView().keyRectForRow(2, 0)));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].object, "a");

    window.panel().userDidResize({400, 200});
    EXPECT_EQ(window.panel().frame().size, (Size{520, 290}));
    EXPECT_EQ(window.keyboardView().bounds(), Rect(0, 0, 520, 290));

    // The window manager's frame is taken whole, from the left edge too; below the minimum the
    // top edge stays.
    window.panel().userDidSetFrame({300, 250, 900, 350});
    EXPECT_EQ(window.panel().frame(), Rect(300, 250, 900, 350));
    EXPECT_EQ(window.keyboardView().bounds(), Rect(0, 0, 900, 350));
    window.panel().userDidSetFrame({10, 20, 400, 200});
    EXPECT_EQ(window.panel().frame(), Rect(10, -70, 520, 290));
}

TEST_F(KeyboardWindow, TheResizeGripLiesBesideBackspaceNotOverIt) {
    const KVKeyboardView& view = window.keyboardView();
    const Rect grip = view.resizeGripRect();
    EXPECT_TRUE(view.resizesAt({grip.maxX() - 1, grip.minY() + 1}));
    // The backspace control's bottom-right corner types, as any other part of it does.
    const Rect backspace = view.backspaceRect();
    const Point corner{backspace.maxX() - 1, backspace.minY() + 1};
    click(corner);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].object, "__backspace__");
}

TEST_F(KeyboardWindow, TogglesShowAndHideAndARestoreShowsOnlyWhatWasRequested) {
    // Not requested: a restore does nothing.
    int before = bodyChanges();
    window.restoreAfterFocus();
    EXPECT_FALSE(window.panel().isVisible());
    EXPECT_EQ(bodyChanges(), before);

    window.toggleWindow();
    EXPECT_TRUE(window.panel().isVisible());
    EXPECT_TRUE(window.requestedVisible());
    EXPECT_GT(bodyChanges(), before);
    window.toggleWindow();
    EXPECT_FALSE(window.panel().isVisible());
    EXPECT_FALSE(window.requestedVisible());

    // Focus loss hides it; the next key-down restores it in place.
    window.toggleWindow();
    window.panel().userDidMove({40, 50});
    window.hideForFocusLoss();
    EXPECT_FALSE(window.panel().isVisible());
    EXPECT_TRUE(window.requestedVisible());
    before = bodyChanges();
    window.restoreAfterFocus();
    EXPECT_TRUE(window.panel().isVisible());
    EXPECT_GT(bodyChanges(), before);
    EXPECT_EQ(window.panel().frame(), Rect(40, 50, 720, 350));
    window.restoreAfterFocus();
    EXPECT_TRUE(window.panel().isVisible());
    // A toggle while hidden by focus loss shows it.
    window.hideForFocusLoss();
    window.toggleWindow();
    EXPECT_TRUE(window.panel().isVisible());
    EXPECT_TRUE(window.requestedVisible());

    // After the close box only a toggle brings it back.
    EXPECT_FALSE(click(Centre(window.keyboardView().closeRect())));
    EXPECT_FALSE(window.panel().isVisible());
    EXPECT_FALSE(window.requestedVisible());
    EXPECT_TRUE(heard.empty());
    window.hideForFocusLoss();
    window.restoreAfterFocus();
    EXPECT_FALSE(window.panel().isVisible());
    window.toggleWindow();
    EXPECT_TRUE(window.panel().isVisible());
}

TEST_F(KeyboardWindow, EachClickPostsExactlyOneNotificationWithItsToken) {
    const KVKeyboardView& view = window.keyboardView();
    EXPECT_FALSE(click(Centre(view.backspaceRect())));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].name, KVKeyboardKeyPressedNotification);
    EXPECT_EQ(heard[0].object, "__backspace__");

    click(Centre(view.keyRectForRow(2, 0)));
    click(Centre(view.spaceRect()));
    click(Centre(view.keyRectForRow(1, 12)));
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[1].object, "a");
    EXPECT_EQ(heard[2].object, "__space__");
    EXPECT_EQ(heard[3].object, "\\");

    // Gaps and the strip move the panel and post nothing.
    EXPECT_TRUE(click({100, 340}));
    EXPECT_TRUE(click({view.keyRectForRow(0, 0).maxX() + 1, view.keyRectForRow(0, 0).midY()}));
    EXPECT_EQ(heard.size(), 4u);
}

}  // namespace
}  // namespace kv
