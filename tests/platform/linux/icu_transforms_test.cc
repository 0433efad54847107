// SPDX-License-Identifier: MIT
// The ICU body of the text transforms: the shared expectations and what only full Unicode
// tables can do.
#include "platform/linux/icu_transforms.h"

#include <gtest/gtest.h>

#include "../transforms_contract.h"

namespace kv {
namespace {

TEST(IcuTransforms, MeetsTheContract) {
    const IcuTransforms transforms;
    test::ExpectSimplifiedConversion(transforms);
    test::ExpectLowercase(transforms);
    test::ExpectWhiteSpace(transforms);
    test::ExpectComposedSequences(transforms);
}

TEST(IcuTransforms, UsesTheFullUnicodeTables) {
    const IcuTransforms transforms;
    EXPECT_EQ(transforms.traditionalToSimplified(u"澄雀輸入法設定"), u"澄雀输入法设定");
    EXPECT_EQ(transforms.lowercase(u"ΑΒΓ ＡＢＣ"), u"αβγ ａｂｃ");
    // Lower-casing may change the length: İ becomes i and a combining dot.
    EXPECT_EQ(transforms.lowercase(u"İ"), u"i\u0307");
    EXPECT_TRUE(transforms.isWhiteSpace(U'\u1680'));
    // A flag is two regional indicators, a family is joined by U+200D.
    const std::u16string flag = u"\U0001F1F9\U0001F1FC";
    EXPECT_EQ(transforms.rangeOfComposedCharacterSequence(flag, 3), (Range{0, 4}));
    const std::u16string family = u"x\U0001F468\u200D\U0001F469\u200D\U0001F467";
    EXPECT_EQ(transforms.rangeOfComposedCharacterSequence(family, 7), (Range{1, 8}));
}

}  // namespace
}  // namespace kv
