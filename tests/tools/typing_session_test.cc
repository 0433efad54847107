// SPDX-License-Identifier: MIT
// The interactive session's decisions and screen, fed with decoded terminal keys.
#include "tools/cqkv/typing_session.h"

#include <gtest/gtest.h>

#include "cqkv_test_support.h"
#include "tools/cqkv/candidate_paging.h"
#include "tools/cqkv/session_screen.h"
#include "tools/cqkv/terminal_keys.h"

namespace kv {
namespace {

TEST(CandidatePaging, PagesOfTenWrapBothWays) {
    EXPECT_EQ(pageAt(0, 0), (CandidatePage{0, 0, 1, 1}));
    EXPECT_EQ(pageAt(10, 0), (CandidatePage{0, 10, 1, 1}));
    EXPECT_EQ(pageAt(23, 10), (CandidatePage{10, 10, 2, 3}));
    EXPECT_EQ(pageAt(23, 20), (CandidatePage{20, 3, 3, 3}));
    EXPECT_EQ(pageAt(23, 57), (CandidatePage{20, 3, 3, 3}));  // beyond the list: the last page
    EXPECT_EQ(nextPageStart(23, 0), 10u);
    EXPECT_EQ(nextPageStart(23, 20), 0u);
    EXPECT_EQ(previousPageStart(23, 0), 20u);
    EXPECT_EQ(previousPageStart(23, 10), 0u);
    EXPECT_EQ(nextPageStart(10, 0), 0u);
    EXPECT_EQ(previousPageStart(10, 0), 0u);
    EXPECT_EQ(nextPageStart(0, 0), 0u);
    EXPECT_EQ(selectionRow('1'), 0u);
    EXPECT_EQ(selectionRow('0'), 9u);
    EXPECT_FALSE(selectionRow('a'));
    EXPECT_FALSE(selectionRow('\0'));
}

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

class TypingSessionTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(table.load(test::dataFile("cqkv_small.cin"))); }

    // Types each character of `keys` ("~" stands for Space, "<" for Backspace, "!" for Enter,
    // "^" for Escape) and returns the last reply.
    SessionReply type(std::string_view keys) {
        SessionReply reply;
        for (const char c : keys) {
            TerminalKey key{TerminalKeyKind::Character, c};
            if (c == '~')
                key = {TerminalKeyKind::Space};
            if (c == '<')
                key = {TerminalKeyKind::Backspace};
            if (c == '!')
                key = {TerminalKeyKind::Enter};
            if (c == '^')
                key = {TerminalKeyKind::Escape};
            reply = session.handleKey(key);
        }
        return reply;
    }
    SessionReply press(TerminalKeyKind kind) { return session.handleKey({kind}); }

    cqinput::CinTable table;
    TypingSession session{table};
};

TEST_F(TypingSessionTest, PagesChoosesAndCommits) {
    type("e~");
    EXPECT_EQ(session.page(), (CandidatePage{0, 10, 1, 3}));
    type("~");
    EXPECT_EQ(session.page().number, 2u);
    press(TerminalKeyKind::Right);
    EXPECT_EQ(session.page().number, 3u);
    press(TerminalKeyKind::PageDown);  // wraps to the first page
    EXPECT_EQ(session.page().number, 1u);
    press(TerminalKeyKind::Left);  // and back to the last
    EXPECT_EQ(session.page().number, 3u);
    EXPECT_TRUE(type("5").beep);  // the last page has three rows
    EXPECT_EQ(session.notice(), "this page has no row 5");
    type("2");  // the second row of the third page: candidate 21
    EXPECT_EQ(session.committed(), "壬");
    EXPECT_TRUE(session.engine().candidates.empty());

    type("e~~!");  // Enter takes the first row of the page shown
    EXPECT_EQ(session.committed(), "壬百");
    type("ab~c~");  // a code key commits the first row and starts a new code
    EXPECT_EQ(session.committed(), "壬百明金");
}

TEST_F(TypingSessionTest, EditsTheCompositionAndTheText) {
    type("1~a1");  // "1" is no code key: it passes through, the composition stays
    EXPECT_EQ(session.committed(), "1 1");
    EXPECT_EQ(session.engine().code, "a");
    type("b<<");
    EXPECT_TRUE(session.engine().code.empty());
    type("c~");
    EXPECT_EQ(session.committed(), "1 1金");
    type("<");  // nothing composed: the committed text loses a whole character
    EXPECT_EQ(session.committed(), "1 1");
    type("<<<<");
    EXPECT_EQ(session.committed(), "");
    type("ab~<");  // backspace while choosing drops the list and one key
    EXPECT_EQ(session.engine().code, "a");
    EXPECT_TRUE(session.engine().candidates.empty());
    type("^");
    EXPECT_TRUE(session.engine().code.empty());
    EXPECT_TRUE(type("ccc~").beep);
    EXPECT_EQ(session.notice(), "nothing has the code 金金金");
    EXPECT_TRUE(type("aaaaaaa").beep);
    EXPECT_EQ(session.notice(), "a code has at most 6 keys; the code was dropped");
    EXPECT_TRUE(press(TerminalKeyKind::Quit).quit);
}

TEST_F(TypingSessionTest, ScreenShowsReadingPageAndText) {
    type("e~~");
    const std::vector<std::string> choosing = renderSession(session);
    ASSERT_EQ(choosing.size(), 14u);
    EXPECT_EQ(choosing[1], "Text: ");
    EXPECT_EQ(choosing[2], "Code: 水 (e)");
    EXPECT_EQ(choosing[3], "1 百");
    EXPECT_EQ(choosing[12], "0 庚");
    EXPECT_EQ(choosing[13], "page 2/3");
    type("2ab");
    const std::vector<std::string> composing = renderSession(session);
    EXPECT_EQ(composing, (std::vector<std::string>{composing[0], "Text: 千", "Code: 日月 (ab)"}));
    EXPECT_EQ(printableText("a\x1b[2Jb\x7f"), "a\xEF\xBF\xBD[2Jb\xEF\xBF\xBD");
}

}  // namespace
}  // namespace kv
