// SPDX-License-Identifier: MIT
// What a click on the keyboard does: type a token, close, or move the panel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyboard/keyboard_view.h"
#include "tests/keyboard/keyboard_test_support.h"

namespace kv {
namespace {

using test::Centre;
using test::RecordingKeyboard;
using Tokens = std::vector<std::string>;

TEST(KeyboardHitTest, KeysAndControlsSendTheirTokens) {
    RecordingKeyboard keyboard({720, 350});
    const KVKeyboardView& view = keyboard.view;
    const auto grave = keyboard.click(Centre(view.keyRectForRow(0, 0)));
    EXPECT_EQ(grave.tokens, Tokens{"`"});
    EXPECT_FALSE(grave.drag);
    EXPECT_EQ(keyboard.click(Centre(view.keyRectForRow(1, 12))).tokens, Tokens{"\\"});
    EXPECT_EQ(keyboard.click(Centre(view.keyRectForRow(2, 0))).tokens, Tokens{"a"});
    EXPECT_EQ(keyboard.click(Centre(view.keyRectForRow(3, 9))).tokens, Tokens{"/"});
    EXPECT_EQ(keyboard.click(Centre(view.spaceRect())).tokens, Tokens{"__space__"});
    EXPECT_EQ(keyboard.click(Centre(view.backspaceRect())).tokens, Tokens{"__backspace__"});
    // Edges: the bottom-left corner belongs to the key, the top-right one does not.
    const Rect q = view.keyRectForRow(1, 0);
    EXPECT_EQ(keyboard.click(q.origin).tokens, Tokens{"q"});
    EXPECT_TRUE(keyboard.click({q.maxX(), q.maxY()}).drag);
}

TEST(KeyboardHitTest, GapsMarginsAndTheStripMoveThePanel) {
    RecordingKeyboard keyboard({720, 350});
    const KVKeyboardView& view = keyboard.view;
    const Rect q = view.keyRectForRow(1, 0);
    const std::vector<Point> misses{
        {q.maxX() + 2, q.midY()},                      // between "q" and "w"
        {q.midX(), q.maxY() + 3},                      // between rows 0 and 1
        {view.keyRectForRow(2, 10).maxX() + 10, 180},  // right of row 2
        {view.keyRectForRow(3, 9).maxX() + 20, 120},   // right of row 3
        {view.keyRectForRow(2, 0).minX() - 20, 180},   // left of row 2
        {100, 340},                                    // the top strip
        {view.closeRect().minX() - 1, 335},            // just left of the close box
        {4, 200},                                      // the left margin
        {view.spaceRect().maxX() + 2, 40},             // between the two controls
        {360, 4},                                      // below the controls
    };
    for (const Point point : misses) {
        const auto outcome = keyboard.click(point);
        EXPECT_TRUE(outcome.drag) << point.x << "," << point.y;
        EXPECT_TRUE(outcome.tokens.empty()) << point.x << "," << point.y;
        EXPECT_EQ(outcome.closes, 0);
    }
}

TEST(KeyboardHitTest, CloseBoxCallsTheCloseCallback) {
    RecordingKeyboard keyboard({720, 350});
    const auto outcome = keyboard.click({700, 335});
    EXPECT_EQ(outcome.closes, 1);
    EXPECT_TRUE(outcome.tokens.empty());
    EXPECT_FALSE(outcome.drag);
}

TEST(KeyboardHitTest, ClicksWithoutCallbacksNeitherTypeNorDrag) {
    KVKeyboardView view(Rect(0, 0, 720, 350));
    EXPECT_FALSE(view.mouseDown(Centre(view.keyRectForRow(2, 0))));
    EXPECT_FALSE(view.mouseDown(Centre(view.spaceRect())));
    EXPECT_FALSE(view.mouseDown(Centre(view.backspaceRect())));
    EXPECT_FALSE(view.mouseDown(Centre(view.closeRect())));
    EXPECT_TRUE(view.mouseDown({100, 340}));

    // A key callback alone does not answer the close box, and a close callback alone no key.
    int closes = 0;
    view.setCloseHandler([&closes] { ++closes; });
    EXPECT_FALSE(view.mouseDown(Centre(view.keyRectForRow(0, 1))));
    EXPECT_FALSE(view.mouseDown(Centre(view.closeRect())));
    EXPECT_EQ(closes, 1);
}

TEST(KeyboardHitTest, AfterAResizeAClickLandsOnTheKeyDrawnUnderThePointer) {
    RecordingKeyboard keyboard({720, 350});
    KVKeyboardView& view = keyboard.view;
    const Point oldA = Centre(view.keyRectForRow(2, 0));
    view.setFrameSize({1200, 580});
    EXPECT_EQ(keyboard.click(Centre(view.keyRectForRow(2, 0))).tokens, Tokens{"a"});
    EXPECT_EQ(keyboard.click(Centre(view.keyRectForRow(3, 6))).tokens, Tokens{"m"});
    EXPECT_NE(keyboard.click(oldA).tokens, Tokens{"a"});
    EXPECT_EQ(keyboard.click({1180, 570}).closes, 1);

    view.setFrameSize({520, 290});
    EXPECT_EQ(keyboard.click(Centre(view.keyRectForRow(2, 10))).tokens, Tokens{"'"});
    EXPECT_EQ(keyboard.click(Centre(view.keyRectForRow(1, 12))).tokens, Tokens{"\\"});
    EXPECT_EQ(keyboard.click({500, 280}).closes, 1);
}

TEST(KeyboardHitTest, BelowTheMinimumSizeControlsAndTheCloseBoxWin) {
    // Keys of rows 1 and 2 reach down into the controls here.
    RecordingKeyboard keyboard({300, 150});
    const KVKeyboardView& view = keyboard.view;
    const Rect s = view.keyRectForRow(2, 1);
    ASSERT_TRUE(view.spaceRect().contains(Centre(s)));
    EXPECT_EQ(keyboard.click(Centre(s)).tokens, Tokens{"__space__"});
    const Point underBackspace{260, 60};
    ASSERT_TRUE(view.keyRectForRow(1, 8).contains(underBackspace));
    ASSERT_TRUE(view.backspaceRect().contains(underBackspace));
    EXPECT_EQ(keyboard.click(underBackspace).tokens, Tokens{"__backspace__"});
    // Above the space control the key still types.
    EXPECT_EQ(keyboard.click({21, 100}).tokens, Tokens{"`"});

    // So short that the close box comes down onto the backspace control.
    RecordingKeyboard low({300, 80});
    const Point both{270, 60};
    ASSERT_TRUE(low.view.closeRect().contains(both));
    ASSERT_TRUE(low.view.backspaceRect().contains(both));
    const auto outcome = low.click(both);
    EXPECT_EQ(outcome.closes, 1);
    EXPECT_TRUE(outcome.tokens.empty());
}

}  // namespace
}  // namespace kv
