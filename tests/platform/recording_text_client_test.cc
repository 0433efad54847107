// SPDX-License-Identifier: MIT
// The recording client edits its text as a text field would, so deletions and insertions
// on behalf of the input method can be checked by what the text shows afterwards.
#include "platform/memory/recording_text_client.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(RecordingTextClient, InsertionAtTheCaretReplacesTheSelectionAndEndsMarkedText) {
    RecordingTextClient client;
    client.document = u"hello world";
    client.selection = {6, 5};
    client.setMarkedText(u"日月", Underline::Single, {2, 0}, Range::notFound());
    EXPECT_EQ(client.marked(), "日月");
    EXPECT_EQ(client.markedUnderline, Underline::Single);

    client.insertText(u"體", Range::notFound());
    EXPECT_EQ(client.text(), "hello 體");
    EXPECT_EQ(client.selection, (Range{7, 0}));
    EXPECT_EQ(client.marked(), "");
    EXPECT_EQ(client.inserted(), "體");

    client.insertText(u"", {5, 1});
    EXPECT_EQ(client.text(), "hello體");
    EXPECT_EQ(client.insertions.back().replacementRange, (Range{5, 1}));
}

TEST(RecordingTextClient, AnswersQueriesAsArranged) {
    RecordingTextClient client;
    client.document = u"a\U0001F600";
    client.selection = {3, 0};
    EXPECT_EQ(client.attributedSubstringFromRange({1, 2}), u"\U0001F600");
    EXPECT_EQ(client.attributedSubstringFromRange({2, 10}), u"\xDE00");
    EXPECT_FALSE(client.attributedSubstringFromRange({4, 1}));

    Rect rect(0, 0, 16, 16);
    EXPECT_EQ(client.attributesForCharacterIndex(2, rect), CharacterAttributes::Present);
    EXPECT_EQ(rect, client.lineHeightRect);

    client.raises = true;
    Rect untouched(0, 0, 16, 16);
    EXPECT_FALSE(client.attributesForCharacterIndex(0, untouched));
    EXPECT_EQ(untouched, Rect(0, 0, 16, 16));
    EXPECT_FALSE(client.firstRectForCharacterRange({0, 0}));
    EXPECT_EQ(client.attributeQueries, (std::vector<std::int64_t>{2, 0}));

    client.respondsToSelectedRange = false;
    EXPECT_FALSE(client.selectedRange());
}

}  // namespace
}  // namespace kv
