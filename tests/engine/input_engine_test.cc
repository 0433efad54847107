// SPDX-License-Identifier: MIT
// The composition state: idle, composing and choosing under every operation, end keys and the
// six-key limit.
#include <gtest/gtest.h>

#include <limits>

#include "engine/input_engine.h"
#include "engine_test_support.h"

namespace cqinput::test {
namespace {

// "Kind" or "Kind:text", so that a failure shows both at once.
std::string Show(const EngineAction& action) {
    static constexpr const char* kNames[] = {"None",   "Compose", "ShowCandidates",
                                             "Commit", "Clear",   "Reject"};
    std::string shown = kNames[static_cast<int>(action.kind)];
    return action.text.empty() ? shown : shown + ":" + action.text;
}

class InputEngineTest : public ::testing::Test {
  protected:
    // Keys a to f; "a" and "bb" have two candidates, "ab" one, "cc" none.
    void Load(std::string_view extra = "") {
        table =
            loadedTable(dir.write("t.cin", std::string(extra) + keyNames() +
                                               lines({"%chardef begin", "a 日", "a 曰", "ab 明",
                                                      "bb 朋", "bb 用", "* ＊", "af 炎", "f 火"})));
    }
    void SetUp() override { Load(); }

    std::string Press(InputEngine& engine, std::string_view keys) {
        std::string shown;
        for (const char key : keys) {
            shown += (shown.empty() ? "" : " ") + Show(engine.pressCode(key));
        }
        return shown;
    }
    static void ExpectState(const InputEngine& engine, std::string_view code,
                            const Strings& candidates) {
        EXPECT_EQ(engine.code, code);
        EXPECT_EQ(engine.candidates, candidates);
    }

    TempDir dir;
    CinTable table;
};

TEST_F(InputEngineTest, IdleEngineIgnoresEverythingButCodeKeysAndCancel) {
    InputEngine engine(table);
    ExpectState(engine, "", {});
    EXPECT_EQ(Show(engine.trigger()), "None");
    EXPECT_EQ(Show(engine.choose(0)), "None");
    EXPECT_EQ(Show(engine.backspace()), "None");
    EXPECT_EQ(Show(engine.cancel()), "Clear");
    EXPECT_EQ(Press(engine, "1 z\t"), "None None None None");
    EXPECT_EQ(engine.readingDisplay(), "");
    ExpectState(engine, "", {});
    EXPECT_EQ(Show(engine.pressCode('b')), "Compose:月");
    ExpectState(engine, "b", {});
}

TEST_F(InputEngineTest, ComposingAddsRemovesAndTriggers) {
    InputEngine engine(table);
    EXPECT_EQ(Press(engine, "ab"), "Compose:日 Compose:日月");
    EXPECT_EQ(Show(engine.pressCode('1')), "None");
    EXPECT_EQ(Show(engine.choose(0)), "None");
    ExpectState(engine, "ab", {});
    EXPECT_EQ(Show(engine.backspace()), "Compose:日");
    EXPECT_EQ(Show(engine.backspace()), "Clear");
    ExpectState(engine, "", {});

    Press(engine, "cd");
    EXPECT_EQ(Show(engine.cancel()), "Clear");
    ExpectState(engine, "", {});

    Press(engine, "ab");
    EXPECT_EQ(Show(engine.trigger()), "Commit:明");  // one candidate: no list
    ExpectState(engine, "", {});

    Press(engine, "cc");
    EXPECT_EQ(Show(engine.trigger()), "Reject");
    ExpectState(engine, "", {});

    Press(engine, "a");
    EXPECT_EQ(Show(engine.trigger()), "ShowCandidates");
    ExpectState(engine, "a", {"日", "曰"});
}

TEST_F(InputEngineTest, ChoosingRefusesKeysAndKeepsTheListOnBadChoices) {
    InputEngine engine(table);
    Press(engine, "bb");
    ASSERT_EQ(Show(engine.trigger()), "ShowCandidates");
    EXPECT_EQ(Press(engine, "a1*"), "Reject Reject Reject");
    ExpectState(engine, "bb", {"朋", "用"});
    EXPECT_EQ(Show(engine.choose(2)), "None");
    EXPECT_EQ(Show(engine.choose(std::numeric_limits<std::size_t>::max())), "None");
    ExpectState(engine, "bb", {"朋", "用"});
    EXPECT_EQ(Show(engine.trigger()), "ShowCandidates");
    ExpectState(engine, "bb", {"朋", "用"});
    EXPECT_EQ(Show(engine.choose(1)), "Commit:用");
    ExpectState(engine, "", {});
    EXPECT_EQ(Show(engine.choose(0)), "None");
}

TEST_F(InputEngineTest, BackspaceAndCancelWhileChoosing) {
    InputEngine engine(table);
    Press(engine, "bb");
    engine.trigger();
    EXPECT_EQ(Show(engine.backspace()), "Compose:月");
    ExpectState(engine, "b", {});

    engine.cancel();
    Press(engine, "a");
    engine.trigger();
    EXPECT_EQ(Show(engine.backspace()), "Clear");
    ExpectState(engine, "", {});

    Press(engine, "a");
    engine.trigger();
    EXPECT_EQ(Show(engine.cancel()), "Clear");
    ExpectState(engine, "", {});
}

TEST_F(InputEngineTest, SeventhKeyRejectsAndEmptiesTheCode) {
    InputEngine engine(table);
    EXPECT_EQ(Press(engine, "abc*?d"),
              "Compose:日 Compose:日月 Compose:日月金 Compose:日月金* Compose:日月金*? "
              "Compose:日月金*?木");
    EXPECT_EQ(Press(engine, "1!"), "None None");  // no code key: the code stays
    ExpectState(engine, "abc*?d", {});
    EXPECT_EQ(Show(engine.pressCode('e')), "Reject");
    ExpectState(engine, "", {});
    EXPECT_EQ(Show(engine.pressCode('c')), "Compose:金");
    ExpectState(engine, "c", {});
}

TEST_F(InputEngineTest, UpperCaseKeysAreFoldedAndShownWithTheirLabels) {
    InputEngine engine(table);
    EXPECT_EQ(Press(engine, "AB"), "Compose:日 Compose:日月");
    ExpectState(engine, "ab", {});
    EXPECT_EQ(Show(engine.trigger()), "Commit:明");
}

TEST_F(InputEngineTest, WildcardsWithoutLabelShowThemselvesAndLookUpPatterns) {
    InputEngine engine(table);
    EXPECT_EQ(Press(engine, "a?"), "Compose:日 Compose:日?");
    EXPECT_EQ(Show(engine.trigger()), "ShowCandidates");
    ExpectState(engine, "a?", {"明", "炎"});
    engine.cancel();
    EXPECT_EQ(Press(engine, "*"), "Compose:*");
    EXPECT_EQ(Show(engine.trigger()), "Commit:＊");  // "*" alone is an exact code

    Load(lines({"%keyname begin", "* 萬", "%keyname end"}));
    InputEngine labelled(table);
    EXPECT_EQ(Press(labelled, "*a"), "Compose:萬 Compose:萬日");
    EXPECT_EQ(labelled.readingDisplay(), "萬日");
}

TEST_F(InputEngineTest, EndKeyThatIsACodeKeyTriggersAtOnce) {
    Load(lines({"%endkey f*"}));
    InputEngine engine(table);
    EXPECT_EQ(Press(engine, "af"), "Compose:日 Commit:炎");
    ExpectState(engine, "", {});
    EXPECT_EQ(Press(engine, "F"), "Commit:火");  // first key: the one-key code
    EXPECT_EQ(Press(engine, "bf"), "Compose:月 Reject");
    ExpectState(engine, "", {});
    // At six keys the limit comes before the end key.
    EXPECT_EQ(Press(engine, "abcdeaf"),
              "Compose:日 Compose:日月 Compose:日月金 Compose:日月金木 Compose:日月金木水 "
              "Compose:日月金木水日 Reject");
    ExpectState(engine, "", {});
    Press(engine, "a");
    engine.trigger();
    EXPECT_EQ(Show(engine.pressCode('f')), "Reject");
    ExpectState(engine, "a", {"日", "曰"});
}

TEST_F(InputEngineTest, WildcardEndKeyTriggersOnlyAsTheFirstKey) {
    Load(lines({"%endkey f*"}));
    InputEngine engine(table);
    EXPECT_EQ(Press(engine, "*"), "Commit:＊");
    EXPECT_EQ(Press(engine, "a*"), "Compose:日 Compose:日*");
    EXPECT_EQ(Show(engine.trigger()), "ShowCandidates");
    ExpectState(engine, "a*", {"日", "曰", "明", "炎"});
    engine.cancel();
    EXPECT_EQ(Press(engine, "?"), "Compose:?");  // not an end key
}

}  // namespace
}  // namespace cqinput::test
