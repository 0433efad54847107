// SPDX-License-Identifier: MIT
#include "tools/cqkv/key_script.h"

#include <gtest/gtest.h>

#include "cqkv_test_support.h"
#include "engine/cin_table.h"

namespace kv {
namespace {

std::vector<KeyOp> Parse(std::string_view script) {
    std::vector<KeyOp> ops;
    const std::optional<KeyScriptError> error = parseKeyScript(script, ops);
    EXPECT_FALSE(error) << script << ": " << (error ? error->message : "");
    return ops;
}

KeyScriptError Refuse(std::string_view script) {
    std::vector<KeyOp> ops;
    const std::optional<KeyScriptError> error = parseKeyScript(script, ops);
    EXPECT_TRUE(error) << script << " was accepted";
    return error.value_or(KeyScriptError{});
}

TEST(KeyScript, KeysAndTokens) {
    const std::vector<KeyOp> ops = Parse("aB*?} {space}{bs} {esc}{choose 12}{choose  3}");
    const std::vector<KeyOp> expected{
        {KeyOpKind::Press, 'a', 0, "a"},           {KeyOpKind::Press, 'B', 0, "B"},
        {KeyOpKind::Press, '*', 0, "*"},           {KeyOpKind::Press, '?', 0, "?"},
        {KeyOpKind::Press, '}', 0, "}"},           {KeyOpKind::Trigger, 0, 0, "{space}"},
        {KeyOpKind::Backspace, 0, 0, "{bs}"},      {KeyOpKind::Cancel, 0, 0, "{esc}"},
        {KeyOpKind::Choose, 0, 12, "{choose 12}"}, {KeyOpKind::Choose, 0, 3, "{choose  3}"},
    };
    EXPECT_EQ(ops, expected);
}

TEST(KeyScript, BlanksOnlySeparate) {
    EXPECT_TRUE(Parse("").empty());
    EXPECT_TRUE(Parse(" \t\n ").empty());
    EXPECT_EQ(Parse("c q s e t {space}"), Parse("cqset{space}"));
}

TEST(KeyScript, MalformedTokensAreRefusedWithTheirPlace) {
    EXPECT_NE(Refuse("a{choose x}").message.find("{choose x}"), std::string::npos);
    Refuse("{choose}");
    Refuse("{choose -1}");
    Refuse("{choose 1x}");
    Refuse("{choose 99999999999999999999999999}");
    EXPECT_NE(Refuse("{foo}").message.find("unknown key \"{foo}\""), std::string::npos);
    Refuse("{SPACE}");
    Refuse("{ space }");
    Refuse("{}");
    const KeyScriptError unclosed = Refuse("ab{space");
    EXPECT_EQ(unclosed.position, 2u);
    EXPECT_NE(unclosed.message.find("not closed"), std::string::npos);
    EXPECT_EQ(Refuse("a{sp{space}").position, 1u);
    EXPECT_EQ(Refuse("ab\xE6\x97\xA5").position, 2u);  // 日 is no key press
    Refuse("a\x01");
}

TEST(KeyScript, OpsDriveTheEngine) {
    cqinput::CinTable table;
    ASSERT_TRUE(table.load(test::dataFile("cqkv_small.cin")));
    cqinput::InputEngine engine(table);
    std::vector<std::string> seen;
    for (const KeyOp& op : Parse("a b {bs} {esc} a b {space} {choose 5} {choose 1} 1")) {
        const cqinput::EngineAction action = applyKeyOp(engine, op);
        seen.push_back(std::string(actionKindName(action.kind)) + " " + action.text);
    }
    const std::vector<std::string> expected{
        "Compose 日",   "Compose 日月",    "Compose 日", "Clear ",    "Compose 日",
        "Compose 日月", "ShowCandidates ", "None ",      "Commit 冐", "None ",
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(actionKindName(cqinput::ActionKind::Reject), "Reject");
}

}  // namespace
}  // namespace kv
