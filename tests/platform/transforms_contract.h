// SPDX-License-Identifier: MIT
// What every body of the text transforms must do, checked against the memory body and ICU's.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/transforms.h"

namespace kv::test {

inline void ExpectSimplifiedConversion(const Transforms& t) {
    EXPECT_EQ(t.traditionalToSimplified(u"體"), u"体");
    EXPECT_EQ(t.traditionalToSimplified(u"身體與國家"), u"身体与国家");
    // Text without Traditional characters stays as it is, blanks and marks included.
    EXPECT_EQ(t.traditionalToSimplified(u"日月 abc 123 ！"), u"日月 abc 123 ！");
    EXPECT_EQ(t.traditionalToSimplified(u""), u"");
    EXPECT_EQ(t.traditionalToSimplified(u"\U0001F600體"), u"\U0001F600体");
}

inline void ExpectLowercase(const Transforms& t) {
    EXPECT_EQ(t.lowercase(u"ABC xyz"), u"abc xyz");
    EXPECT_EQ(t.lowercase(u"ÀÉÖ×"), u"àéö×");
    EXPECT_EQ(t.lowercase(u"日A"), u"日a");
    EXPECT_EQ(t.lowercase(u""), u"");
}

inline void ExpectWhiteSpace(const Transforms& t) {
    for (const char32_t blank : {U' ', U'\t', U'\u00A0', U'\u2003', U'\u3000'}) {
        EXPECT_TRUE(t.isWhiteSpace(blank)) << static_cast<unsigned>(blank);
    }
    for (const char32_t other : {U'a', U'\n', U'\r', U'\u2028', U'\u200B', U'體', U'\0'}) {
        EXPECT_FALSE(t.isWhiteSpace(other)) << static_cast<unsigned>(other);
    }
}

inline void ExpectComposedSequences(const Transforms& t) {
    const std::u16string text = u"a\U0001F600e\u0301\r\nz";  // a, emoji, e + accent, CR LF, z
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(text, 0), (Range{0, 1}));
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(text, 1), (Range{1, 2}));
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(text, 2), (Range{1, 2}));
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(text, 4), (Range{3, 2}));
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(text, 5), (Range{5, 2}));
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(text, 7), (Range{7, 1}));
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(text, 8), (Range{8, 0}));
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(text, 100), (Range{8, 0}));
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(text, -1), (Range{0, 0}));
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(u"", 0), (Range{0, 0}));
    // A broken pair is a sequence of its own.
    EXPECT_EQ(t.rangeOfComposedCharacterSequence(u"\xDC00x", 0), (Range{0, 1}));
}

}  // namespace kv::test
