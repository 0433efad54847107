// SPDX-License-Identifier: MIT
// The checker that tells a person which line of a refused file to mend, and why.
#include "engine/load_check.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace cqinput::test {
namespace {

// "line N: reason", or "ok" when the file would load.
std::string Shown(const std::optional<LoadProblem>& problem) {
    if (!problem) {
        return "ok";
    }
    return "line " + std::to_string(problem->line) + ": " + problem->reason;
}

TEST(CheckTableFile, AgreesWithTheLoaderAndSaysWhy) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder");
    const struct {
        std::filesystem::path path;
        std::string_view reasonPart;
    } cases[] = {
        {dir.write("good.cin", "\xEF\xBB\xBF%chardef begin\r\na 日\r\n"), ""},
        {dir.path() / "missing.cin", "does not exist"},
        {dir.path() / "folder", "directory"},
        {dir.write("empty.cin", ""), "empty"},
        {dir.write("nochardef.cin", lines({"%CHARDEF begin", "a 日"})), "%chardef begin"},
    };
    for (const auto& [path, reasonPart] : cases) {
        SCOPED_TRACE(path.filename().string());
        CinTable table;
        const std::optional<LoadProblem> problem = checkTableFile(path);
        EXPECT_EQ(problem.has_value(), !table.load(path));
        if (!reasonPart.empty()) {
            ASSERT_TRUE(problem);
            EXPECT_EQ(problem->line, 0u);
            EXPECT_NE(problem->reason.find(reasonPart), std::string::npos) << problem->reason;
        }
    }
}

class CheckUserDictionaryFile : public ::testing::Test {
  protected:
    void SetUp() override {
        table = loadedTable(dir.write("t.cin", keyNames() + lines({"%chardef begin", "ab 明"})));
    }
    std::string Check(std::string_view text) {
        const auto path = dir.write("user.txt", text);
        const std::optional<LoadProblem> problem = checkUserDictionaryFile(path, table);
        CinTable copy = loadedTable(dir.path() / "t.cin");
        EXPECT_EQ(problem.has_value(), !copy.loadUserDictionary(path)) << Shown(problem);
        return Shown(problem);
    }

    TempDir dir;
    CinTable table;
};

TEST_F(CheckUserDictionaryFile, NamesTheLineAndTheReason) {
    EXPECT_EQ(Check("ab 朋\nabcdef 六\n*? 星\n"), "ok");
    EXPECT_EQ(Check(""), "ok");
    EXPECT_EQ(Shown(checkUserDictionaryFile(dir.path() / "none.txt", table)), "ok");

    EXPECT_EQ(Check("ab 朋\nac 金\nabcdefa 七\nab 友\n"),
              "line 3: the code \"abcdefa\" is not 1 to 6 bytes long");
    EXPECT_EQ(Check("ab 朋\n\nab\n"), "line 3: the line has a code but no phrase");
    EXPECT_EQ(Check("ab \xED\xA0\x80\n"), "line 1: the phrase is not valid UTF-8");
    EXPECT_EQ(Check("ab 朋\naz 字\n"),
              "line 2: the code \"az\" holds a byte that is not a key of the table");
    EXPECT_EQ(Check("ab 朋\n ab 朋\n").substr(0, 8), "line 2: ");
}

TEST_F(CheckUserDictionaryFile, CountsCrLfAndCrLinesAsAnEditorDoes) {
    const std::string noPhrase = ": the line has a code but no phrase";
    EXPECT_EQ(Check("ab 朋\r\n\r\nab 友\r\nab\r\n"), "line 4" + noPhrase);
    EXPECT_EQ(Check("ab 朋\r\rab\r"), "line 3" + noPhrase);
    EXPECT_EQ(Check("\xEF\xBB\xBF\r\n\xEF\xBB\xBF"
                    "ab\r\n"),
              "line 2" + noPhrase);
    EXPECT_EQ(Check("ab 朋\r\nab 友\nab"), "line 3" + noPhrase);
}

}  // namespace
}  // namespace cqinput::test
