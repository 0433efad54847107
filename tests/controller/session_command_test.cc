// SPDX-License-Identifier: MIT
// `cqkv session`: the scenario notation, the JSON lines and the usage errors.
#include <sstream>

#include "testing/us_key_events.h"
#include "tests/controller/controller_test_support.h"
#include "tools/cqkv/session_command.h"

namespace kv::testing {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome RunSession(std::vector<std::string_view> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runSession(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(SessionScriptTest, TokensBecomeStepsAndUnknownOnesAreNamed) {
    // A shifted symbol is its key with Shift, as the US layout types it.
    const KeyEvent bang = usKeyDown("!").value();
    EXPECT_EQ(bang.keyCode, 18);
    EXPECT_EQ(bang.modifierFlags, ModifierFlags::Shift);
    EXPECT_EQ(bang.characters, u"!");
    EXPECT_EQ(usKeyDown("a", ModifierFlags::Control)->characters, u"\x01");

    std::string bad;
    const auto steps =
        parseSessionScript("  Ctrl+Shift+a\tosk:;  click:9 wait:0.9 session:b button:words ", bad);
    ASSERT_TRUE(steps.has_value());
    ASSERT_EQ(steps->size(), 6u);
    EXPECT_EQ((*steps)[0].event.modifierFlags, ModifierFlags::Control | ModifierFlags::Shift);
    EXPECT_EQ((*steps)[1].keyboardToken, ";");
    EXPECT_EQ((*steps)[2].row, 9);
    EXPECT_DOUBLE_EQ((*steps)[3].seconds, 0.9);
    EXPECT_EQ((*steps)[4].session, "b");
    EXPECT_EQ((*steps)[5].button, ToolbarButton::Words);
    EXPECT_EQ(parseSessionScript("", bad)->size(), 0u);

    for (const std::string_view wrong :
         {"osk:A", "osk:__enter__", "osk:", "click:10", "click:x", "wait:-1", "wait:1s", "wait:nan",
          "session:", "button:close", "Meta+a", "Shift+", "F1", "ab"}) {
        EXPECT_FALSE(parseSessionScript(std::string("a ") + std::string(wrong), bad)) << wrong;
        EXPECT_EQ(bad, wrong);
    }
}

class SessionCommandTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::filesystem::path table = dir.write("table.cin", kFixtureTable);
    std::string tableOption = "--table=" + table.string();
};

TEST_F(SessionCommandTest, PrintsOneJsonLinePerToken) {
    const Outcome outcome = RunSession({tableOption, "a b", "Space", "wait:1", "2"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0],
              R"({"token":"a","handled":true,"marked":"日","inserted":"","beeps":0,)"
              R"("panel":{"visible":true,"mode":"toolbar","items":[],"selected":0,"pageStart":0,)"
              R"("page":"","follow":false},"keyboard":{"visible":false,"requested":false},)"
              R"("windows":[],"settings":{}})");
    EXPECT_NE(lines[2].find(R"("mode":"candidates","items":["明","朋"],"selected":0,)"
                            R"("pageStart":0,"page":"1/1")"),
              std::string::npos);
    EXPECT_NE(lines[3].find(R"("token":"wait:1","handled":null)"), std::string::npos);
    EXPECT_NE(lines[4].find(R"("inserted":"朋")"), std::string::npos);
}

TEST_F(SessionCommandTest, SettingsAndTheUserDictionaryApply) {
    const std::filesystem::path user = dir.write("user.txt", "zz 自建\n");
    const Outcome outcome =
        RunSession({tableOption, "--user", user.string(), "--set", "FullwidthMode=true",
                    "--set=ToolbarFollowMode=1", "z z Space CapsLock a Shift+Space c q s e t"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_NE(lines[2].find(R"("inserted":"自建")"), std::string::npos);
    EXPECT_NE(lines[2].find(R"("follow":true)"), std::string::npos);
    EXPECT_NE(lines[4].find(R"("inserted":"ａ")"), std::string::npos);
    EXPECT_NE(lines[5].find(R"("settings":{"FullwidthMode":false})"), std::string::npos);
}

TEST_F(SessionCommandTest, WindowsAndTheKeyboardAreReported) {
    const Outcome outcome = RunSession({tableOption, "c q s e t Space button:keyboard osk:a"});
    ASSERT_EQ(outcome.status, 0);
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_NE(lines[5].find(R"("windows":["settings"])"), std::string::npos);
    EXPECT_NE(lines[6].find(R"("keyboard":{"visible":true,"requested":true})"), std::string::npos);
    EXPECT_NE(lines[7].find(R"("marked":"日")"), std::string::npos);
}

TEST_F(SessionCommandTest, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string_view>& args : std::vector<std::vector<std::string_view>>{
             {"a", "nonsense"},
             {"--frobnicate", "a"},
             {"--set", "Colour=1", "a"},
             {"--set", "ToggleKey", "a"},
             {"--table"},
             {},
         }) {
        std::vector<std::string_view> withTable = {tableOption};
        withTable.insert(withTable.end(), args.begin(), args.end());
        const Outcome outcome = RunSession(withTable);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("cqkv session:"), std::string::npos);
    }
    EXPECT_NE(RunSession({tableOption, "a", "nonsense"}).err.find("\"nonsense\""),
              std::string::npos);
    const Outcome help = RunSession({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, sessionUsage());
}

TEST_F(SessionCommandTest, AMissingTableLetsEveryKeyThrough) {
    const std::string missing = "--table=" + (dir.path() / "none.cin").string();
    const Outcome outcome = RunSession({missing, "a Space"});
    EXPECT_EQ(outcome.status, 0);
    for (const std::string& line : Lines(outcome.out)) {
        EXPECT_NE(line.find(R"("handled":false)"), std::string::npos);
    }
    EXPECT_NE(outcome.err.find("could not be loaded"), std::string::npos);
}

}  // namespace
}  // namespace kv::testing
