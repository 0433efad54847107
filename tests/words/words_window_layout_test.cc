// SPDX-License-Identifier: MIT
// How the words window's controls follow a resize.
#include "words/words_window_layout.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using namespace WordsLayout;

TEST(WordsWindowLayout, GrowingStretchesTheListAndKeepsTheFieldsAboveIt) {
    const Size larger{960, 760};  // 200 wider, 200 taller
    EXPECT_EQ(ResizedFrame(kEntryList, larger), Rect(30, 92, 900, 480));
    EXPECT_EQ(ResizedFrame(kPhraseField, larger), Rect(258, 590, 550, 30));
    EXPECT_EQ(ResizedFrame(kCodeField, larger), Rect(30, 590, 210, 30));
    EXPECT_EQ(ResizedFrame(kAddButton, larger), Rect(822, 588, 108, 34));
    EXPECT_EQ(ResizedFrame(kPath, larger), Rect(30, 666, 900, 22));
    EXPECT_EQ(ResizedFrame(kHeading, larger), Rect(28, 700, 300, 42));
    EXPECT_EQ(ResizedFrame(kStatus, larger), Rect(292, 46, 638, 22));
    EXPECT_EQ(ResizedFrame(kReloadButton, larger), kReloadButton.frame);
}

TEST(WordsWindowLayout, AtTheSmallestSizeNothingOverlaps) {
    const Rect list = ResizedFrame(kEntryList, kMinimumSize);
    const Rect field = ResizedFrame(kPhraseField, kMinimumSize);
    const Rect add = ResizedFrame(kAddButton, kMinimumSize);
    const Rect heading = ResizedFrame(kHeading, kMinimumSize);
    EXPECT_LT(list.maxY(), field.minY());
    EXPECT_LT(field.maxX(), add.minX());
    EXPECT_LE(add.maxX(), kMinimumSize.width - 30);
    EXPECT_LE(heading.maxY(), kMinimumSize.height);
    EXPECT_GT(list.height(), 100);
}

}  // namespace
}  // namespace kv
