// SPDX-License-Identifier: MIT
// The byte-level helpers, where their edges are hard to reach through a whole file.
#include "engine/text_util.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace cqinput::detail {
namespace {

TEST(ValidUtf8, AcceptsEveryBoundaryOfEachSequenceLength) {
    // U+0000 to U+007F, U+0080, U+07FF, U+0800, U+D7FF, U+E000, U+FFFF, U+10000, U+10FFFF.
    for (const std::string_view text :
         {"", "\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
          "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "a\xE6\x97\xA5 b"}) {
        EXPECT_TRUE(validUtf8(text)) << testing::PrintToString(std::string(text));
    }
}

TEST(ValidUtf8, RefusesOverlongSurrogateTooHighStrayAndTruncated) {
    // Overlong forms of two, three and four bytes; the surrogates U+D800 and U+DFFF; U+110000
    // and leads above F4; stray continuation bytes; sequences cut short at the end or before
    // another byte.
    for (const std::string_view text :
         {"\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
          "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80", "\xFF",
          "\x80", "a\xBF", "\xE6\x97\xA5\xA5", "\xC2", "\xE6\x97", "\xF0\x90\x80", "\xE6\x97 ",
          "\xC2\xC2\x80"}) {
        EXPECT_FALSE(validUtf8(text)) << testing::PrintToString(std::string(text));
    }
    // A view cut inside a character must not be read past its end.
    const std::string whole = "\xE6\x97\xA5";
    EXPECT_FALSE(validUtf8(std::string_view(whole).substr(0, 2)));
    EXPECT_FALSE(validUtf8(std::string_view(whole).substr(0, 1)));
}

TEST(WildcardMatch, StarBacktracksAndQuestionMarkTakesOneByte) {
    const std::vector<std::pair<std::string_view, std::string_view>> matches = {
        {"a*b", "ab"}, {"a*b", "abab"}, {"*ab", "aab"},  {"a*b*c", "abxbc"},      {"*", ""},
        {"**", "abc"}, {"a*", "a"},     {"a?c", "a*c"},  {"???", "\xE6\x97\xA5"}, {"*b", "*b"},
        {"a*", "a*"},  {"*a*", "bab"},  {"a**b", "axb"},
    };
    for (const auto& [pattern, code] : matches) {
        EXPECT_TRUE(wildcardMatch(pattern, code)) << pattern << " / " << code;
    }
    const std::vector<std::pair<std::string_view, std::string_view>> misses = {
        {"a*b", "abx"},
        {"a*b", "ba"},
        {"?b", "b"},
        {"?", "\xE6\x97\xA5"},
        {"?*", ""},
        {"a?", "a"},
        {"*ab", "aabx"},
        {"a*b*c", "acb"},
        // A "*" in the code meets the pattern's "*" as an equal byte first.
        {"*b", "*xb"},
    };
    for (const auto& [pattern, code] : misses) {
        EXPECT_FALSE(wildcardMatch(pattern, code)) << pattern << " / " << code;
    }
}

TEST(SplitLine, CutsAtTheFirstBlankAndTrimsOnlyTheValue) {
    using Split = std::pair<std::string_view, std::string_view>;
    EXPECT_EQ(splitLine("ab 明"), (Split{"ab", "明"}));
    EXPECT_EQ(splitLine("ab\t \t日 月 \t"), (Split{"ab", "日 月"}));
    EXPECT_EQ(splitLine("ab"), (Split{"ab", ""}));
    EXPECT_EQ(splitLine("ab \t "), (Split{"ab", ""}));
    EXPECT_EQ(splitLine(" ab 明"), (Split{"", "ab 明"}));
    EXPECT_EQ(splitLine("ab\xE3\x80\x80明"), (Split{"ab\xE3\x80\x80明", ""}));  // ideographic space
}

TEST(LowerAscii, FoldsOnlyCapitalLetters) {
    EXPECT_EQ(lowerAscii("AZaz@[`{09"), "azaz@[`{09");
    EXPECT_EQ(lowerAscii("\xC3\x84X\xC3\xA4"), "\xC3\x84x\xC3\xA4");  // ÄXä
}

TEST(ForEachLine, CountsLinesAsAnEditorDoes) {
    std::vector<std::pair<std::string, std::size_t>> seen;
    forEachLine(
        "a\r\n\r\nb\rc\n\xEF\xBB\xBF\n\xEF\xBB\xBF"
        "d\r\n",
        [&](std::string_view line, std::size_t number) {
            seen.emplace_back(std::string(line), number);
        });
    const std::vector<std::pair<std::string, std::size_t>> expected = {
        {"a", 1}, {"b", 3}, {"c", 4}, {"d", 6}};
    EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace cqinput::detail
