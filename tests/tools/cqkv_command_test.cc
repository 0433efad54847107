// SPDX-License-Identifier: MIT
// The built cqkv as a person or a script runs it: output, messages and exit statuses.
#include <gtest/gtest.h>

#include "cqkv_test_support.h"

namespace kv {
namespace {

using test::runCqkv;
using test::RunResult;

TEST(CqkvType, ShowsEachStepAndTheCandidates) {
    const test::TempDir dir;
    const RunResult run = runCqkv({"type", "a Space"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "a: Compose 日\nSpace: ShowCandidates\n  0 日\n  1 曰\n");

    // The session's keys, each meaning what the engine alone makes of it.
    const std::string table = test::dataFile("cqkv_small.cin").string();
    const RunResult steps = runCqkv({"type", "--table", table, "a b Delete", "b Space click:1",
                                     "c Return a b Space Return q Escape Delete"},
                                    dir);
    EXPECT_EQ(steps.status, 0) << steps.err;
    EXPECT_EQ(steps.out,
              "a: Compose 日\nb: Compose 日月\nDelete: Compose 日\nb: Compose 日月\n"
              "Space: ShowCandidates\n  0 明\n  1 冐\nclick:1: Commit 冐\nc: Compose 金\n"
              "Return: Commit 金\na: Compose 日\nb: Compose 日月\nSpace: ShowCandidates\n"
              "  0 明\n  1 冐\nReturn: Commit 明\nq: None\nEscape: Clear\nDelete: None\n");
}

TEST(CqkvType, JsonLinesCarryStateAndEscapes) {
    const test::TempDir dir;
    const std::string table = dir.write("t.cin",
                                        "%keyname begin\na 日\n%keyname end\n"
                                        "%chardef begin\na say \"hi\"\\\na \x01\x7f\n"
                                        "%chardef end\n")
                                  .string();
    const RunResult run = runCqkv({"type", "--json", "--table", table, "a Space click:0"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "{\"op\":\"a\",\"kind\":\"Compose\",\"text\":\"日\",\"code\":\"a\",\"candidates\":[]}\n"
        "{\"op\":\"Space\",\"kind\":\"ShowCandidates\",\"text\":\"\",\"code\":\"a\","
        "\"candidates\":[\"say \\\"hi\\\"\\\\\",\"\\u0001\\u007f\"]}\n"
        "{\"op\":\"click:0\",\"kind\":\"Commit\",\"text\":\"say \\\"hi\\\"\\\\\","
        "\"code\":\"\",\"candidates\":[]}\n");
}

TEST(CqkvType, KeysTheEngineAloneCannotTakeAreUsageErrors) {
    const test::TempDir dir;
    // Unknown to the notation, or known but needing the controller, the panel or the clock.
    for (const std::string keys :
         {"{space}", "ab", "click:x", "\xE6\x97\xA5", "Tab", "Left", "Ctrl+a", "Cmd+c", "osk:a",
          "wait:1", "button:words", "activate", "Shift", "CapsLock", "session:2"}) {
        const RunResult run = runCqkv({"type", "a", keys}, dir);
        EXPECT_EQ(run.status, 2) << keys;
        EXPECT_TRUE(run.out.empty()) << keys;
        EXPECT_TRUE(run.err.starts_with("cqkv type: ")) << run.err;
        EXPECT_NE(run.err.find(keys), std::string::npos) << run.err;
    }
    EXPECT_EQ(runCqkv({"type"}, dir).status, 2);
    EXPECT_EQ(runCqkv({"type", "--jsn", "a"}, dir).status, 2);
}

TEST(CqkvLookup, UserPhrasesFollowAndSeveralCodesAreLabelled) {
    const test::TempDir dir;
    const std::string table = test::dataFile("cqkv_small.cin").string();
    const std::string user = test::dataFile("cqkv_user_good.txt").string();
    EXPECT_EQ(runCqkv({"lookup", "--table", table, "--user", user, "AB"}, dir).out,
              "明\n冐\n明天\n冐\n");
    EXPECT_EQ(runCqkv({"lookup", "--table", table, "a", "zz", "c"}, dir).out,
              "a:\n  日\n  曰\nzz:\nc:\n  金\n");
    EXPECT_EQ(runCqkv({"lookup", "--table", table, "--", "-x"}, dir).out, "");
    EXPECT_EQ(runCqkv({"lookup", "--table", table}, dir).status, 2);
}

TEST(CqkvCodes, NamesEachCharactersCodesRootsAndPlace) {
    const test::TempDir dir;
    const std::string small = test::dataFile("cqkv_small.cin").string();
    const RunResult run =
        runCqkv({"codes", "--table", small, "曰明 明", "百千萬辛壬癸", "𠀀"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "曰  a (日) 2nd\n明  ab (日月) 1st\n百  e (水) 11th\n千  e (水) 12th\n"
              "萬  e (水) 13th\n辛  e (水) 21st\n壬  e (水) 22nd\n癸  e (水) 23rd\n"
              "𠀀  not in the table\n");

    // Every code of a character, the quickest first; a key without a root reads as itself; a
    // character inside a phrase is not typed by the phrase's code.
    const std::string two = dir.write("two.cin",
                                      "%keyname begin\na 日\nb 月\n%keyname end\n"
                                      "%chardef begin\nb 明月\na 日\nab 明\nx 日\nb 明\n"
                                      "%chardef end\n")
                                .string();
    EXPECT_EQ(runCqkv({"codes", "--table", two, "日明"}, dir).out,
              "日  a (日) 1st\n日  x (x) 1st\n明  ab (日月) 1st\n明  b (月) 2nd\n");
    EXPECT_TRUE(runCqkv({"codes", "日"}, dir).out.starts_with("日  a (日) 1st\n"));

    EXPECT_EQ(runCqkv({"codes", "--table", small}, dir).status, 2);
    const RunResult notText = runCqkv({"codes", "--table", small, "\xE6\x98"}, dir);
    EXPECT_EQ(notText.status, 2);
    EXPECT_EQ(notText.err, "cqkv codes: the text is not valid UTF-8\n");
    const std::string missing = (dir.path() / "none.cin").string();
    EXPECT_EQ(runCqkv({"codes", "--table", missing, "日"}, dir).status, 1);
}

TEST(CqkvLoading, AFileThatDoesNotLoadGivesOneLineAndStatusOne) {
    const test::TempDir dir;
    const std::string missing = (dir.path() / "none.cin").string();
    const RunResult noTable = runCqkv({"lookup", "--table", missing, "a"}, dir);
    EXPECT_EQ(noTable.status, 1);
    EXPECT_EQ(noTable.err,
              "cqkv lookup: cannot load the table " + missing + ": the file does not exist\n");
    const std::string empty = dir.write("empty.cin", "").string();
    EXPECT_EQ(runCqkv({"type", "--table", empty, "a"}, dir).status, 1);

    const std::string seven = test::dataFile("cqkv_user_seven.txt").string();
    const RunResult badUser = runCqkv(
        {"lookup", "--table", test::dataFile("cqkv_small.cin").string(), "--user", seven, "a"},
        dir);
    EXPECT_EQ(badUser.status, 1);
    EXPECT_EQ(badUser.err, "cqkv lookup: cannot load the user dictionary " + seven +
                               ": line 3: the code \"abcdeab\" is not 1 to 6 bytes long\n");
    EXPECT_TRUE(badUser.out.empty());
}

TEST(CqkvCheck, NamesTheBadLineOfAUserDictionary) {
    const test::TempDir dir;
    const std::string seven = test::dataFile("cqkv_user_seven.txt").string();
    const RunResult run = runCqkv({"check", seven}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, seven + ":3: the code \"abcdeab\" is not 1 to 6 bytes long\n");

    const std::string good = test::dataFile("cqkv_user_good.txt").string();
    const RunResult ok =
        runCqkv({"check", good, "--table", test::dataFile("cqkv_small.cin").string()}, dir);
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, good + ": OK (user dictionary, 2 entries)\n");

    // "x" is a key of the shipped table but not of the small one.
    const std::string xKey = dir.write("words.txt", "a 日\r\nx 難\r\n").string();
    EXPECT_EQ(runCqkv({"check", xKey}, dir).status, 0);
    const RunResult notAKey =
        runCqkv({"check", "--table", test::dataFile("cqkv_small.cin").string(), xKey}, dir);
    EXPECT_EQ(notAKey.status, 1);
    EXPECT_TRUE(notAKey.out.starts_with(xKey + ":2: ")) << notAKey.out;
}

TEST(CqkvCheck, TellsTablesFromUserDictionaries) {
    const test::TempDir dir;
    const std::string shipped = test::shippedTable().string();
    EXPECT_EQ(runCqkv({"check", shipped}, dir).out,
              shipped + ": OK (table, 64998 codes, 79249 candidates, 26 key names)\n");
    const std::string noChars =
        dir.write("nochars.cin", "%ename x\n%chardef begin\n%chardef end\n").string();
    const RunResult refused = runCqkv({"check", noChars}, dir);
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.out.starts_with(noChars + ": no character is defined")) << refused.out;
    const std::string marked = dir.write("table.txt", "%chardef begin\na 日\n").string();
    EXPECT_EQ(runCqkv({"check", marked}, dir).out,
              marked + ": OK (table, 1 code, 1 candidate, 0 key names)\n");
    const std::string missing = (dir.path() / "none.txt").string();
    EXPECT_EQ(runCqkv({"check", missing}, dir).out, missing + ": the file does not exist\n");
    EXPECT_EQ(runCqkv({"check", missing}, dir).status, 1);
    EXPECT_EQ(runCqkv({"check"}, dir).status, 2);
}

TEST(CqkvUsage, HelpListsTheCommandsAndMistakesExitTwo) {
    const test::TempDir dir;
    const RunResult help = runCqkv({"--help"}, dir);
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"lookup", "codes", "type", "check", "import"}) {
        EXPECT_NE(help.out.find(std::string("  ") + command + " "), std::string::npos) << command;
        EXPECT_EQ(runCqkv({command, "--help"}, dir).status, 0) << command;
        EXPECT_EQ(runCqkv({"help", command}, dir).out, runCqkv({command, "-h"}, dir).out);
    }
    EXPECT_EQ(runCqkv({"frobnicate"}, dir).status, 2);
    EXPECT_EQ(runCqkv({"help", "frobnicate"}, dir).status, 2);
    EXPECT_EQ(runCqkv({"lookup", "--table"}, dir).status, 2);
    EXPECT_EQ(runCqkv({"lookup", "--table", "a", "--table", "b", "c"}, dir).status, 2);
    // With no command and no terminal there is nothing to do but explain.
    const RunResult bare = runCqkv({}, dir);
    EXPECT_EQ(bare.status, 2);
    EXPECT_NE(bare.err.find("Usage: cqkv"), std::string::npos);
}

}  // namespace
}  // namespace kv
