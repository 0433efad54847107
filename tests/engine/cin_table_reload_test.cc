// SPDX-License-Identifier: MIT
// Reloading a table when its file changes, and moving a table with its views.
#include <gtest/gtest.h>

#include "engine/cin_table.h"
#include "engine_test_support.h"

namespace cqinput::test {
namespace {

std::string Table(std::string_view candidate) {
    return keyNames() + lines({"%chardef begin", "a " + std::string(candidate), "ab 明"});
}

TEST(CinTableReload, NeverLoadedTableFails) {
    CinTable table;
    EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Failed);
    EXPECT_TRUE(table.lookup("a").empty());
}

TEST(CinTableReload, UnchangedStampsDoNotReadTheFile) {
    TempDir dir;
    const auto file = dir.write("t.cin", Table("日"));
    CinTable table = loadedTable(file);
    EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Unchanged);

    // Same size and time, other bytes: the check trusts the stamps and keeps the old text.
    const auto time = std::filesystem::last_write_time(file);
    dir.write("t.cin", Table("曰"));
    std::filesystem::last_write_time(file, time);
    EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Unchanged);
    EXPECT_EQ(table.lookup("a"), (Strings{"日"}));

    touch(file);
    EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("a"), (Strings{"曰"}));
    EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Unchanged);
}

TEST(CinTableReload, RewrittenFileIsReloaded) {
    TempDir dir;
    const auto file = dir.write("t.cin", Table("日"));
    CinTable table = loadedTable(file);
    rewrite(file, Table("旦") + lines({"%chardef begin", "c 金"}));
    EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("a"), (Strings{"旦"}));
    EXPECT_EQ(table.lookup("c"), (Strings{"金"}));
    EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Unchanged);
}

TEST(CinTableReload, InvalidRewriteFailsEveryTimeUntilMended) {
    TempDir dir;
    const auto file = dir.write("t.cin", Table("日"));
    CinTable table = loadedTable(file);
    rewrite(file, lines({"%ename broken"}));
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Failed) << attempt;
        EXPECT_EQ(table.lookup("a"), (Strings{"日"}));
    }
    ASSERT_TRUE(table.lastProblem());
    EXPECT_NE(table.lastProblem()->reason.find("no character is defined"), std::string::npos);
    rewrite(file, "");
    EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Failed);
    EXPECT_EQ(table.lastProblem(), (LoadProblem{0, "the file is empty"}));
    std::filesystem::remove(file);
    EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Failed);
    EXPECT_EQ(table.lastProblem(), (LoadProblem{0, "the file does not exist"}));
    EXPECT_EQ(table.lookup("ab"), (Strings{"明"}));

    dir.write("t.cin", Table("曰"));
    EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("a"), (Strings{"曰"}));
    EXPECT_FALSE(table.lastProblem());
}

TEST(CinTableReload, UserPhrasesSurviveATableReload) {
    TempDir dir;
    const auto file = dir.write("t.cin", Table("日"));
    const auto user = dir.write("user.txt", lines({"ab 朋友", "c 金子"}));
    CinTable table = loadedTable(file);
    ASSERT_TRUE(table.loadUserDictionary(user));

    rewrite(file, Table("旦"));
    ASSERT_EQ(table.reloadIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(table.lookup("a"), (Strings{"旦"}));
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "朋友"}));
    EXPECT_EQ(table.lookup("c"), (Strings{"金子"}));
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Unchanged);

    // Also across a load of another file, and a failed one.
    ASSERT_TRUE(table.load(dir.write("other.cin", lines({"%chardef begin", "c 釒"}))));
    EXPECT_FALSE(table.load(dir.write("bad.cin", "%ename x")));
    EXPECT_EQ(table.lookup("c"), (Strings{"釒", "金子"}));
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Unchanged);
}

TEST(CinTableMove, MoveConstructionKeepsEveryViewValid) {
    TempDir dir;
    const auto file = dir.write("t.cin", Table("日") + lines({"%chardef end", "%ename Moved"}));
    auto source = std::make_unique<CinTable>(loadedTable(file));
    ASSERT_TRUE(source->loadUserDictionary(dir.write("user.txt", "ab 朋友\n")));

    CinTable moved(std::move(*source));
    source.reset();  // the moved-from object is gone; only the moved buffer remains
    EXPECT_EQ(moved.lookup("a"), (Strings{"日"}));
    EXPECT_EQ(moved.lookup("a*"), (Strings{"日", "明", "朋友"}));
    EXPECT_EQ(moved.keyLabel("f"), "火");
    EXPECT_EQ(moved.property("ename"), "Moved");
    EXPECT_EQ(moved.reloadIfChanged(), ReloadResult::Unchanged);
    EXPECT_EQ(moved.reloadUserDictionaryIfChanged(), ReloadResult::Unchanged);
}

TEST(CinTableMove, MoveAssignmentReplacesEveryMember) {
    TempDir dir;
    const auto first = dir.write("first.cin", Table("日"));
    const auto second = dir.write("second.cin", lines({"%ename Second", "%chardef begin", "q 手"}));
    CinTable target = loadedTable(first);
    ASSERT_TRUE(target.loadUserDictionary(dir.write("user.txt", "ab 朋友\n")));
    {
        CinTable source = loadedTable(second);
        target = std::move(source);
    }
    EXPECT_TRUE(target.lookup("a").empty());
    EXPECT_TRUE(target.lookup("ab").empty());  // the user phrases went with the old contents
    EXPECT_EQ(target.lookup("q"), (Strings{"手"}));
    EXPECT_EQ(target.keyLabel("a"), "");
    EXPECT_EQ(target.property("ename"), "Second");
    EXPECT_EQ(target.reloadUserDictionaryIfChanged(), ReloadResult::Failed);

    rewrite(second, lines({"%chardef begin", "q 拳"}));
    EXPECT_EQ(target.reloadIfChanged(), ReloadResult::Reloaded);
    EXPECT_EQ(target.lookup("q"), (Strings{"拳"}));
}

}  // namespace
}  // namespace cqinput::test
