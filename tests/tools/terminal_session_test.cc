// SPDX-License-Identifier: MIT
// The interactive session: decoded terminal keys through the input method's own controller.
#include "tools/cqkv/terminal_session.h"

#include <gtest/gtest.h>

#include "cqkv_test_support.h"
#include "testing/session_script.h"
#include "tools/cqkv/session_screen.h"
#include "tools/cqkv/terminal_keys.h"

namespace kv {
namespace {

TEST(TerminalKeys, DecodesWhatATerminalSends) {
    using K = TerminalKeyKind;
    const std::vector<TerminalKey> keys = decodeTerminalKeys(
        "a* \r\n\x7f\b\x03\x04\x1b[A\x1b[B\x1b[C\x1b[D\x1bOC\x1b[5~\x1b[6~\x1b[3~\x1b\x1bx"
        "\xE6\x97\xA5\x01");
    const std::vector<TerminalKey> expected{
        {K::Character, 'a'}, {K::Character, '*'}, {K::Space},  {K::Enter},  {K::Enter},
        {K::Backspace},      {K::Backspace},      {K::Quit},   {K::Quit},   {K::Up},
        {K::Down},           {K::Right},          {K::Left},   {K::Right},  {K::PageUp},
        {K::PageDown},       {K::Other},          {K::Escape}, {K::Escape}, {K::Character, 'x'},
        {K::Other},          {K::Other}};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(decodeTerminalKeys("\x1b"), (std::vector<TerminalKey>{{K::Escape}}));
    EXPECT_EQ(decodeTerminalKeys("\x1b[1;5"), (std::vector<TerminalKey>{{K::Other}}));
}

class TerminalSessionTest : public ::testing::Test {
  protected:
    // Types each character of `keys` ("~" stands for Space, "<" for Backspace, "!" for Enter,
    // "^" for Escape, ">" for Right) and returns the last reply.
    SessionReply type(std::string_view keys) {
        SessionReply reply;
        for (const char c : keys) {
            reply = session.handleKey(Key(c));
        }
        return reply;
    }
    static TerminalKey Key(char c) {
        switch (c) {
            case '~':
                return {TerminalKeyKind::Space};
            case '<':
                return {TerminalKeyKind::Backspace};
            case '!':
                return {TerminalKeyKind::Enter};
            case '^':
                return {TerminalKeyKind::Escape};
            case '>':
                return {TerminalKeyKind::Right};
            default:
                return {TerminalKeyKind::Character, c};
        }
    }

    SessionOptions options{test::dataFile("cqkv_small.cin"), std::nullopt, {}};
    TerminalSession session{options};
};

TEST_F(TerminalSessionTest, TypesAsTheInputMethodDoes) {
    // The same keys as a session script on the controller: the same text.
    const struct {
        std::string_view keys;
        std::string_view script;
    } cases[] = {
        {"e~~!", "e Space Space Return"},
        {"e~>2", "e Space Right 2"},
        {"ab~c~", "a b Space c Space"},
        {"Ab~", "Shift+a b Space"},
        {"ab~<^dd~", "a b Space Delete Escape d d Space"},
    };
    for (const auto& [keys, script] : cases) {
        SCOPED_TRACE(keys);
        TerminalSession typed(options);
        for (const char c : keys) {
            typed.handleKey(Key(c));
        }
        SessionRunner replayed(options);
        std::string bad;
        const std::optional<std::vector<SessionStep>> steps = parseSessionScript(script, bad);
        ASSERT_TRUE(steps) << bad;
        std::string inserted;
        for (const SessionStep& step : *steps) {
            inserted += replayed.run(step).inserted;
        }
        EXPECT_EQ(typed.text(), inserted);
        EXPECT_FALSE(inserted.empty());
    }
}

TEST_F(TerminalSessionTest, KeysTheInputMethodPassesOnReachTheText) {
    type("1~");
    EXPECT_EQ(session.text(), "1 ");
    type("c~");
    EXPECT_EQ(session.text(), "1 金");
    type("<");  // nothing composed: the text loses a whole character
    EXPECT_EQ(session.text(), "1 ");
    type("<<<");
    EXPECT_EQ(session.text(), "");
    EXPECT_TRUE(type("ccc~").beep);
    EXPECT_TRUE(session.handleKey({TerminalKeyKind::Quit}).quit);
}

TEST_F(TerminalSessionTest, ScreenShowsMarkedTextPageAndLog) {
    type("e~~");
    const std::vector<std::string> choosing = renderSession(session);
    ASSERT_EQ(choosing.size(), 14u);
    EXPECT_EQ(choosing[1], "Text: ");
    EXPECT_EQ(choosing[2], "Code: 水");
    EXPECT_EQ(choosing[3], "1 百");
    EXPECT_EQ(choosing[12], "0 庚");
    EXPECT_EQ(choosing[13], "page 2/3");
    type("2ab");
    const std::vector<std::string> composing = renderSession(session);
    EXPECT_EQ(composing, (std::vector<std::string>{composing[0], "Text: 千", "Code: 日月"}));
    EXPECT_EQ(printableText("a\x1b[2Jb\x7f"), "a\xEF\xBF\xBD[2Jb\xEF\xBF\xBD");

    // A table the input method refuses: no typing, and the log line says why.
    test::TempDir dir;
    const std::filesystem::path table = dir.write("broken.cin", "%ename broken\n");
    TerminalSession broken({table, std::nullopt, {}});
    EXPECT_FALSE(broken.hasTable());
    const std::vector<std::string> refused = renderSession(broken);
    ASSERT_EQ(refused.size(), 3u);
    EXPECT_EQ(refused[2].rfind("refused the table " + table.string() + ": no character", 0), 0u)
        << refused[2];
}

}  // namespace
}  // namespace kv
