// SPDX-License-Identifier: MIT
// The user dictionary: which lines it accepts, what one bad line does, and when it is reloaded.
#include <gtest/gtest.h>

#include "engine/cin_table.h"
#include "engine_test_support.h"

namespace cqinput::test {
namespace {

class UserDictionary : public ::testing::Test {
  protected:
    void SetUp() override {
        // The table also names two bytes that no user code may hold all the same.
        table = loadedTable(
            dir.write("t.cin", keyNames() + lines({"%keyname begin", "\x7F 刪", "\xA1 甲",
                                                   "%keyname end", "%chardef begin", "ab 明"})));
    }

    TempDir dir;
    CinTable table;
    std::filesystem::path user = dir.path() / "CQ_Input_KV_User.txt";
};

TEST_F(UserDictionary, AcceptsKeysWildcardsBlanksInsidePhrasesAndAnyLineEnd) {
    dir.write(user.filename().string(),
              "\xEF\xBB\xBF"
              "ab 朋友\r\n\r\nAB  \t New York \t\r"
              "\xEF\xBB\xBF\r\nab 明\nabcdef 六鍵\na*? 星\n?* 問\nfe\t𠀀\nab 朋友");
    ASSERT_TRUE(table.loadUserDictionary(user));
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "朋友", "New York", "明", "朋友"}));
    EXPECT_EQ(table.lookup("abcdef"), (Strings{"六鍵"}));
    EXPECT_EQ(table.lookup("fe"), (Strings{"𠀀"}));
    EXPECT_EQ(table.lookup("??"), (Strings{"明", "問", "朋友", "New York", "明", "朋友", "𠀀"}));
}

TEST_F(UserDictionary, EmptyOrLineEndOnlyFilesAreEmptyDictionaries) {
    for (const std::string_view text : {"", "\r\n\r\n", "\n", "\r", "\xEF\xBB\xBF\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        ASSERT_TRUE(table.loadUserDictionary(dir.write(user.filename().string(), "ab 朋\n")));
        ASSERT_EQ(table.lookup("ab").size(), 2u);
        rewrite(user, text);
        EXPECT_TRUE(table.loadUserDictionary(user));
        EXPECT_EQ(table.lookup("ab"), (Strings{"明"}));
        EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Unchanged);
    }
}

TEST_F(UserDictionary, OneBadLineRefusesTheFileAndKeepsTheOldPhrases) {
    const std::string good = "ab 朋\n";
    for (const std::string_view line : {
             "abcdefa x",        // seven-byte codes
             "abc*??a x",        //
             "ab",               // code without phrase
             "ab \t ",           //
             " ab x",            // a line starting with a blank has an empty code
             "\tab x",           //
             "ab \xED\xA0\x80",  // not UTF-8: a surrogate
             "ab \xE6\x9C x",    // a character cut short
             "az x",             // no key of the table
             "a1 x",             //
             "# x",              // no comment syntax
             "a\xC3\xA9 x",      // not ASCII
             "a\x01 x",          // control byte
             "a\x7F x",          // named by the table, yet no printable ASCII
             "a\xA1 x",          //
         }) {
        SCOPED_TRACE(testing::PrintToString(std::string(line)));
        ASSERT_TRUE(table.loadUserDictionary(dir.write(user.filename().string(), good)));
        rewrite(user, "ab 新\n" + std::string(line) + "\nab 新二\n");
        EXPECT_FALSE(table.loadUserDictionary(user));
        EXPECT_EQ(table.lookup("ab"), (Strings{"明", "朋"}));
        // The stamps are not updated either: the file is read and refused at every check.
        EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Failed);
        EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Failed);
        EXPECT_EQ(table.lookup("ab"), (Strings{"明", "朋"}));
    }
    rewrite(user, "ab 新\n");
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "新"}));
}

TEST_F(UserDictionary, CodesAreCheckedAgainstTheTableLoadedBefore) {
    CinTable empty;
    dir.write(user.filename().string(), "ab 朋\n");
    EXPECT_FALSE(empty.loadUserDictionary(user));
    // No load succeeded, so there is no path to check again.
    EXPECT_EQ(empty.reloadUserDictionaryIfChanged(), ReloadResult::Failed);
    rewrite(user, "*? 星\n");
    EXPECT_EQ(empty.reloadUserDictionaryIfChanged(), ReloadResult::Failed);
    EXPECT_TRUE(empty.loadUserDictionary(user));
    EXPECT_EQ(empty.lookup("*?"), (Strings{"星"}));

    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_FALSE(empty.loadUserDictionary(dir.path() / "folder"));
    EXPECT_EQ(empty.lookup("*?"), (Strings{"星"}));
}

TEST_F(UserDictionary, FollowsTheFileThroughAppearChangeTouchAndDisappear) {
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Failed);  // never loaded
    ASSERT_TRUE(table.loadUserDictionary(user));                             // missing: empty
    EXPECT_EQ(table.lookup("ab"), (Strings{"明"}));
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Unchanged);

    dir.write(user.filename().string(), "ab 朋\n");
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "朋"}));
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Unchanged);

    rewrite(user, "ab 朋\nab 友\n");
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "朋", "友"}));

    rewrite(user, "ab 甲\nab 乙\n");  // same size: only the time tells
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "甲", "乙"}));

    touch(user);
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "甲", "乙"}));
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Unchanged);

    std::filesystem::remove(user);
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("ab"), (Strings{"明"}));
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Unchanged);

    dir.write(user.filename().string(), "");  // an empty file appearing is a change too
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Unchanged);
}

TEST_F(UserDictionary, SizeChangeWithTheSameTimeIsReloaded) {
    dir.write(user.filename().string(), "ab 朋\n");
    ASSERT_TRUE(table.loadUserDictionary(user));
    const auto time = std::filesystem::last_write_time(user);
    dir.write(user.filename().string(), "ab 朋友\n");
    std::filesystem::last_write_time(user, time);
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "朋友"}));
}

}  // namespace
}  // namespace cqinput::test
