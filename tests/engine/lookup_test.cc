// SPDX-License-Identifier: MIT
// Looking codes up: exact codes, wildcard patterns and their order, user phrases after the table.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/cin_table.h"
#include "engine_test_support.h"

namespace cqinput::test {
namespace {

// Each code's candidate names its code, so a result shows the order of the codes.
std::string Chardef(const std::vector<std::string>& codes) {
    std::string text = "%chardef begin\n";
    for (const std::string& code : codes) {
        text += code + " =" + code + "\n";
    }
    return text;
}

Strings Named(const std::vector<std::string>& codes) {
    Strings names;
    for (const std::string& code : codes) {
        names.push_back("=" + code);
    }
    return names;
}

TEST(Lookup, ExactCodeGivesTableThenUserPhrasesInFileOrder) {
    TempDir dir;
    CinTable table = loadedTable(
        dir.write("t.cin", keyNames() + lines({"%chardef begin", "ab 明", "a 日", "ab 朋"})));
    ASSERT_TRUE(table.loadUserDictionary(
        dir.write("user.txt", lines({"ab 明", "cd 金木", "AB 甲乙", "cd 金 木"}))));
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "朋", "明", "甲乙"}));  // nothing de-duplicated
    EXPECT_EQ(table.lookup("AB"), table.lookup("ab"));
    EXPECT_EQ(table.lookup("cd"), (Strings{"金木", "金 木"}));
    EXPECT_EQ(table.lookup("a"), (Strings{"日"}));
    EXPECT_TRUE(table.lookup("ba").empty());
    EXPECT_TRUE(table.lookup("").empty());
    EXPECT_TRUE(table.lookup("f*f").empty());
    EXPECT_EQ(table.keyLabel("z"), "");
    EXPECT_EQ(table.keyLabel(""), "");
    EXPECT_EQ(table.property("nothing"), "");
}

TEST(Lookup, WildcardOrderIsUnsignedBytesPrefixFirstWhateverTheFileOrder) {
    // A byte of 0x80 or more sorts after every ASCII byte; codes longer than eight bytes with
    // the same first eight bytes are still told apart.
    const std::vector<std::string> sorted = {
        "a",         "aa",        "ab",        "abcdefgh",
        "abcdefgha", "abcdefghi", "abcdefghz", "abcdefgh\xC3\xA9",
        "az",        "a\xC3\xA9",
    };
    std::vector<std::string> reversed(sorted.rbegin(), sorted.rend());
    std::vector<std::string> rotated = sorted;
    std::rotate(rotated.begin(), rotated.begin() + 4, rotated.end());
    reversed.push_back("b");
    rotated.insert(rotated.begin() + 2, "ba");

    TempDir dir;
    const auto file = dir.write("t.cin", Chardef(sorted));
    CinTable table = loadedTable(file);
    EXPECT_EQ(table.lookup("a*"), Named(sorted));
    for (const auto& order : {reversed, rotated}) {
        rewrite(file, Chardef(order));
        ASSERT_EQ(table.reloadIfChanged(), ReloadResult::Reloaded);
        EXPECT_EQ(table.lookup("a*"), Named(sorted));
        touch(file);
        ASSERT_EQ(table.reloadIfChanged(), ReloadResult::Reloaded);
        EXPECT_EQ(table.lookup("A*"), Named(sorted));
    }
}

TEST(Lookup, WildcardKeepsFileOrderWithinACode) {
    TempDir dir;
    const CinTable table = loadedTable(
        dir.write("t.cin", lines({"%chardef begin", "ab 乙", "aa 甲", "ab 丙", "aa 丁"})));
    EXPECT_EQ(table.lookup("a?"), (Strings{"甲", "丁", "乙", "丙"}));
}

TEST(Lookup, QuestionMarkStandsForExactlyOneByte) {
    TempDir dir;
    const std::string acuteB = std::string("\xC3\xA9") + "b";  // three bytes
    const CinTable table =
        loadedTable(dir.write("t.cin", Chardef({"b", "cb", "ab", "abb", "ba", "bb", acuteB})));
    EXPECT_EQ(table.lookup("?b"), Named({"ab", "bb", "cb"}));
    EXPECT_EQ(table.lookup("???"), Named({"abb", acuteB}));
    EXPECT_EQ(table.lookup("b?"), Named({"ba", "bb"}));
}

TEST(Lookup, StarStandsForAnyRunOfBytes) {
    TempDir dir;
    const CinTable table = loadedTable(dir.write(
        "t.cin", Chardef({"axxb", "ab", "a", "b", "abx", "ba", "abab", "aab", "axb", "bab"})));
    EXPECT_EQ(table.lookup("a*b"), Named({"aab", "ab", "abab", "axb", "axxb"}));
    EXPECT_EQ(table.lookup("*b"), Named({"aab", "ab", "abab", "axb", "axxb", "b", "bab"}));
    EXPECT_EQ(table.lookup("*a*b*"), Named({"aab", "ab", "abab", "abx", "axb", "axxb", "bab"}));
    EXPECT_EQ(table.lookup("?*"), table.lookup("**"));
    EXPECT_EQ(table.lookup("**").size(), 10u);
    EXPECT_TRUE(table.lookup("c*").empty());
}

TEST(Lookup, StarOrQuestionMarkAloneIsAnExactCode) {
    TempDir dir;
    const CinTable table =
        loadedTable(dir.write("t.cin", lines({"%chardef begin", "* ＊", "? ？", "a 日"})));
    EXPECT_EQ(table.lookup("*"), (Strings{"＊"}));
    EXPECT_EQ(table.lookup("?"), (Strings{"？"}));
    EXPECT_EQ(table.lookup("**"), (Strings{"＊", "？", "日"}));
}

TEST(Lookup, WildcardUserPhrasesComeAfterAllTableCandidates) {
    TempDir dir;
    CinTable table = loadedTable(
        dir.write("t.cin", keyNames() + lines({"%chardef begin", "ab 明", "a 日", "b 月"})));
    ASSERT_TRUE(table.loadUserDictionary(dir.write(
        "user.txt", lines({"ac 用甲", "aa 用乙", "a 用丙", "a* 星", "a? 問", "ab 用丁", "b 月"}))));
    // Table: a, ab. User, in code order ("*" 0x2A < "?" 0x3F < letters): a, a*, a?, aa, ab, ac.
    EXPECT_EQ(table.lookup("a*"),
              (Strings{"日", "明", "用丙", "星", "問", "用乙", "用丁", "用甲"}));
    EXPECT_EQ(table.lookup("?b"), (Strings{"明", "用丁"}));
    EXPECT_EQ(table.lookup("*"), Strings{});  // one byte: exact, and no such code
    EXPECT_EQ(table.lookup("b"), (Strings{"月", "月"}));
}

}  // namespace
}  // namespace cqinput::test
