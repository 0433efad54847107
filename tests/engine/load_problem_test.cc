// SPDX-License-Identifier: MIT
// Why the table refused a file: what tells a person which line to mend.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "engine_test_support.h"

namespace cqinput::test {
namespace {

// "line N: reason", or "ok" when the file loaded.
std::string Shown(bool loaded, const CinTable& table) {
    if (loaded) {
        EXPECT_FALSE(table.lastProblem());
        return "ok";
    }
    if (!table.lastProblem()) {
        return "refused without a reason";
    }
    return "line " + std::to_string(table.lastProblem()->line) + ": " + table.lastProblem()->reason;
}

TEST(TableProblem, SaysWhyTheWholeFileIsRefused) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder");
    const struct {
        std::filesystem::path path;
        std::string_view shown;
    } cases[] = {
        {dir.write("good.cin", "\xEF\xBB\xBF%chardef begin\r\na 日\r\n"), "ok"},
        {dir.path() / "missing.cin", "line 0: the file does not exist"},
        {dir.path() / "folder", "line 0: the path is a directory"},
        {dir.write("empty.cin", ""), "line 0: the file is empty"},
        {dir.write("nochardef.cin", lines({"%CHARDEF begin", "a 日"})),
         "line 0: no character is defined: there is no \"%chardef begin\" section with a line "
         "holding a code and a value"},
        // A FIFO without a writer would block a plain open forever; a device never ends.
        {dir.path() / "fifo.cin",
         "line 0: the path is not a regular file but a FIFO, a device or a socket"},
        {dir.path() / "zero.cin",
         "line 0: the path is not a regular file but a FIFO, a device or a socket"},
        {dir.path() / "huge.cin", "line 0: the file is larger than 64 MiB"},
        {dir.path() / "loop" / "t.cin",
         "line 0: the file cannot be opened: Too many levels of symbolic links"},
    };
    ASSERT_EQ(::mkfifo((dir.path() / "fifo.cin").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir.path() / "zero.cin");
    std::filesystem::create_symlink("loop", dir.path() / "loop");
    // Sparse: takes no room on the disk.
    std::filesystem::resize_file(dir.write("huge.cin", "%chardef begin\na 日\n"),
                                 (std::uintmax_t{64} << 20) + 1);
    for (const auto& [path, shown] : cases) {
        SCOPED_TRACE(path.filename().string());
        CinTable table;
        const bool loaded = table.load(path);
        EXPECT_EQ(Shown(loaded, table), shown);
    }
}

class UserDictionaryProblem : public ::testing::Test {
  protected:
    void SetUp() override {
        table = loadedTable(dir.write("t.cin", keyNames() + lines({"%chardef begin", "ab 明"})));
    }
    std::string Check(std::string_view text) {
        const auto path = dir.write("user.txt", text);
        const bool loaded = table.loadUserDictionary(path);
        return Shown(loaded, table);
    }

    TempDir dir;
    CinTable table;
};

TEST_F(UserDictionaryProblem, NamesTheLineAndTheReason) {
    EXPECT_EQ(Check("ab 朋\nabcdef 六\n*? 星\n"), "ok");
    EXPECT_EQ(Check(""), "ok");
    EXPECT_EQ(Shown(table.loadUserDictionary(dir.path() / "none.txt"), table), "ok");

    EXPECT_EQ(Check("ab 朋\nac 金\nabcdefa 七\nab 友\n"),
              "line 3: the code \"abcdefa\" is not 1 to 6 bytes long");
    EXPECT_EQ(Check("ab 朋\n\nab\n"), "line 3: the line has a code but no phrase");
    EXPECT_EQ(Check("ab \xED\xA0\x80\n"), "line 1: the phrase is not valid UTF-8");
    EXPECT_EQ(Check("ab 朋\naz 字\n"),
              "line 2: the code \"az\" holds a byte that is not a key of the table");
    EXPECT_EQ(Check("ab 朋\n ab 朋\n").substr(0, 8), "line 2: ");
    EXPECT_EQ(Shown(table.loadUserDictionary(dir.path()), table),
              "line 0: the path is a directory");
    // A folder that cannot be searched (root reads any other) is not a missing file.
    std::filesystem::create_symlink("loop", dir.path() / "loop");
    EXPECT_EQ(Shown(table.loadUserDictionary(dir.path() / "loop" / "user.txt"), table),
              "line 0: the file cannot be opened: Too many levels of symbolic links");
}

TEST_F(UserDictionaryProblem, PhrasesHaveASaneLengthAndNoNul) {
    std::string thousand;
    for (int i = 0; i < 1000; ++i) {
        thousand += "字";
    }
    EXPECT_EQ(Check("ab " + thousand + "\n"), "ok");
    EXPECT_EQ(Check("ab 朋\nab " + thousand + "字\n"),
              "line 2: the phrase is 1001 characters long, more than 1000");
    EXPECT_EQ(Check(std::string("ab 朋\0友\n", 11)), "line 1: the phrase holds a NUL byte");
}

TEST_F(UserDictionaryProblem, CountsCrLfAndCrLinesAsAnEditorDoes) {
    const std::string noPhrase = ": the line has a code but no phrase";
    EXPECT_EQ(Check("ab 朋\r\n\r\nab 友\r\nab\r\n"), "line 4" + noPhrase);
    EXPECT_EQ(Check("ab 朋\r\rab\r"), "line 3" + noPhrase);
    EXPECT_EQ(Check("\xEF\xBB\xBF\r\n\xEF\xBB\xBF"
                    "ab\r\n"),
              "line 2" + noPhrase);
    EXPECT_EQ(Check("ab 朋\r\nab 友\nab"), "line 3" + noPhrase);
}

TEST_F(UserDictionaryProblem, AFailedReloadSaysWhyAndKeepsThePhrases) {
    const auto path = dir.write("user.txt", "ab 朋\n");
    ASSERT_TRUE(table.loadUserDictionary(path));
    rewrite(path, "ab 朋\nzz 字\n");
    EXPECT_EQ(table.reloadUserDictionaryIfChanged(), ReloadResult::Failed);
    EXPECT_EQ(table.lastProblem(),
              (LoadProblem{2, "the code \"zz\" holds a byte that is not a key of the table"}));
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "朋"}));
    EXPECT_EQ(describeProblem("user.txt", *table.lastProblem()),
              "user.txt:2: the code \"zz\" holds a byte that is not a key of the table");
    EXPECT_EQ(describeProblem("t.cin", {0, "the file is empty"}), "t.cin: the file is empty");
}

}  // namespace
}  // namespace cqinput::test
