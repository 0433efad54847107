// SPDX-License-Identifier: MIT
// UTF-8 and UTF-16 conversions and line breaks, and the memory body of the text transforms.
#include "platform/transforms.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/memory/memory_transforms.h"
#include "transforms_contract.h"

namespace kv {
namespace {

TEST(Transforms, Utf8DecodesToUtf16) {
    EXPECT_EQ(Transforms::utf8ToUtf16("abc"), u"abc");
    EXPECT_EQ(Transforms::utf8ToUtf16("體育"), u"體育");
    EXPECT_EQ(Transforms::utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(Transforms::utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(Transforms::utf8ToUtf16(""), u"");
}

TEST(Transforms, MalformedUtf8DecodesToTheEmptyString) {
    for (const std::string bad : {
             "\xFF",              // no lead byte
             "ab\xE9\xAB",        // cut short
             "\xC0\xAF",          // over-long "/"
             "\xE0\x80\xAF",      // over-long
             "\xED\xA0\x80",      // a surrogate
             "\xF4\x90\x80\x80",  // past U+10FFFF
             "\x80",              // a lone continuation
             "\xE9\xAB\x94\xE8",  // valid, then a dangling lead
         }) {
        EXPECT_EQ(Transforms::utf8ToUtf16(bad), u"") << bad.size();
    }
}

TEST(Transforms, Utf16EncodesToUtf8AndBrokenPairsBecomeReplacements) {
    EXPECT_EQ(Transforms::utf16ToUtf8(u"體a\U0001F600"), "體a\xF0\x9F\x98\x80");
    EXPECT_EQ(Transforms::utf16ToUtf8(u"\xD83D"), "\xEF\xBF\xBD");
    EXPECT_EQ(Transforms::utf16ToUtf8(u"\xDE00x\xD83D"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_EQ(Transforms::utf16ToUtf8(u""), "");
    const std::string all = "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF";
    EXPECT_EQ(Transforms::utf16ToUtf8(Transforms::utf8ToUtf16(all)), all);
}

// Carets and deletions cross between a framework's code points and a client's UTF-16 units.
TEST(Transforms, CodePointsAndUtf16UnitsCountOneAnother) {
    const std::u16string text = u"a\U0001F600體\xD83Dz";  // a pair, then a broken half
    EXPECT_EQ(Transforms::codePointsInUtf16(text, 1), 1);
    EXPECT_EQ(Transforms::codePointsInUtf16(text, 2), 2);  // the pair begun counts
    EXPECT_EQ(Transforms::codePointsInUtf16(text, 3), 2);
    EXPECT_EQ(Transforms::codePointsInUtf16(text, 99), 5);
    EXPECT_EQ(Transforms::codePointsInUtf16(text, -4), 0);
    EXPECT_EQ(Transforms::utf16UnitsOfCodePoints(text, 2), 3);
    EXPECT_EQ(Transforms::utf16UnitsOfCodePoints(text, 4), 5);
    EXPECT_EQ(Transforms::utf16UnitsOfCodePoints(text, 99), 6);
    EXPECT_EQ(Transforms::utf16UnitsOfCodePoints(text, -1), 0);
    for (std::int64_t points = 0; points <= 5; ++points) {
        EXPECT_EQ(
            Transforms::codePointsInUtf16(text, Transforms::utf16UnitsOfCodePoints(text, points)),
            points);
    }
}

TEST(Transforms, LineBreaksAreTheNewlineCharacters) {
    for (const char32_t c : {U'\n', U'\v', U'\f', U'\r', U'\u0085', U'\u2028', U'\u2029'}) {
        EXPECT_TRUE(Transforms::isLineBreak(c)) << static_cast<unsigned>(c);
    }
    for (const char32_t c : {U' ', U'\t', U'a', U'\u3000'}) {
        EXPECT_FALSE(Transforms::isLineBreak(c)) << static_cast<unsigned>(c);
    }
}

TEST(MemoryTransforms, MeetsTheContract) {
    const MemoryTransforms transforms;
    test::ExpectSimplifiedConversion(transforms);
    test::ExpectLowercase(transforms);
    test::ExpectWhiteSpace(transforms);
    test::ExpectComposedSequences(transforms);
}

}  // namespace
}  // namespace kv
