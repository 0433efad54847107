// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "cqkv_test_support.h"
#include "engine/cin_table.h"
#include "tools/cqkv/cin_writer.h"
#include "tools/cqkv/dictionary_import.h"
#include "tools/cqkv/schema_roots.h"

namespace kv {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries Flat(const std::vector<DictionaryEntry>& entries) {
    Entries flat;
    for (const DictionaryEntry& entry : entries) {
        flat.emplace_back(entry.text, entry.code);
    }
    return flat;
}

std::optional<DictionaryProblem> ParseDictionary(std::string_view text, Entries& out) {
    std::vector<DictionaryEntry> entries;
    std::optional<DictionaryProblem> problem = parseRimeDictionary(text, entries);
    out = Flat(entries);
    return problem;
}

TEST(RimeDictionary, SkipsHeaderCommentsAndBlanksAndKeepsOrder) {
    Entries entries;
    EXPECT_FALSE(ParseDictionary(test::readFile(test::dataFile("cqkv_sample.dict.yaml")), entries));
    const Entries expected{{"日", "a"},    {"曰", "a"}, {"明", "ab"}, {"冐", "ab"},
                           {"晭", "abgr"}, {"月", "b"}, {"昍", "aa"}};
    EXPECT_EQ(entries, expected);
}

TEST(RimeDictionary, ReadsCrLfAndByteOrderMark) {
    Entries entries;
    EXPECT_FALSE(
        ParseDictionary("\xEF\xBB\xBF---\r\nname: x\r\n...\r\n日\ta\r\n曰\ta\tstem\r\n", entries));
    EXPECT_EQ(entries, (Entries{{"日", "a"}, {"曰", "a"}}));
}

TEST(RimeDictionary, LeavesOutPrivateUseCharactersAtTheAreasEdges) {
    Entries entries;
    EXPECT_FALSE(
        ParseDictionary("...\n日\ta\n"
                        "\xEE\x80\x80\tzf\n"       // U+E000, the first
                        "\xEF\xA3\xBF\tzf\n"       // U+F8FF, the last
                        "\xEF\xA4\x80\tmr\n"       // U+F900, just after
                        "明\xEE\x9E\x96\tab\n"     // within a phrase
                        "\xF3\xB0\x80\x80\tzf\n"   // plane 15
                        "\xF4\x8F\xBF\xBD\tzf\n"   // plane 16
                        "\xF3\xAF\xBF\xBD\tzf\n",  // plane 14, not private
                        entries));
    const Entries expected{{"日", "a"}, {"\xEF\xA4\x80", "mr"}, {"\xF3\xAF\xBF\xBD", "zf"}};
    EXPECT_EQ(entries, expected);
}

TEST(RimeDictionary, NamesTheFirstMalformedLine) {
    const auto problemOf = [](std::string_view body) {
        Entries ignored;
        return ParseDictionary(std::string("...\n日\ta\n") + std::string(body), ignored)
            .value_or(DictionaryProblem{});
    };
    EXPECT_EQ(problemOf("明 ab\n").line, 3u);  // a space, not a tab
    EXPECT_NE(problemOf("明 ab\n").reason.find("tab"), std::string::npos);
    EXPECT_EQ(problemOf("\n明\t\n").line, 4u);
    EXPECT_EQ(problemOf("明\tAB\n").reason, "the code \"AB\" holds a character other than a to z");
    EXPECT_EQ(problemOf("明\ta b\n").line, 3u);
    EXPECT_EQ(problemOf("\tab\n").reason, "the character is empty");
    EXPECT_EQ(problemOf("\xE6\x98\tab\n").reason, "the character is not valid UTF-8");
    EXPECT_EQ(problemOf("明\x1b\tab\n").reason, "the character holds a control character");
    EXPECT_EQ(problemOf(" 明\tab\n").reason, "the character begins or ends with a space");

    Entries entries;
    const std::optional<DictionaryProblem> unclosed = ParseDictionary("---\n日\ta\n", entries);
    ASSERT_TRUE(unclosed);
    EXPECT_EQ(unclosed->line, 0u);
    EXPECT_TRUE(entries.empty());
}

TEST(SchemaRoots, TakesTheLowerCaseRuleAndItsRoots) {
    const std::optional<LetterRoots> roots =
        parseLetterRoots(test::readFile(test::dataFile("cqkv_sample.schema.yaml")));
    ASSERT_TRUE(roots);
    EXPECT_EQ((*roots)[0], "日");
    EXPECT_EQ((*roots)[23], "難");
    EXPECT_EQ((*roots)[25], "符");
}

TEST(SchemaRoots, FallsBackToUpperCaseAndRefusesIncompleteRules) {
    const std::optional<LetterRoots> upper =
        parseLetterRoots("- \"xlit/ZYXWVUTSRQPONMLKJIHGFEDCBA/zyxwvutsrqponmlkjihgfedcba/\"\n");
    ASSERT_TRUE(upper);
    EXPECT_EQ((*upper)[0], "a");
    EXPECT_EQ((*upper)[25], "z");
    EXPECT_FALSE(parseLetterRoots("no rules here"));
    EXPECT_FALSE(parseLetterRoots("xlit|abc|日月金|"));                       // not a to z
    EXPECT_FALSE(parseLetterRoots("xlit|abcdefghijklmnopqrstuvwxyz|日月|"));  // lengths differ
    EXPECT_FALSE(parseLetterRoots("xlit|abcdefghijklmnopqrstuvwxyz|"));       // unfinished
    EXPECT_FALSE(parseLetterRoots("xlit|abcdefghijklmnopqrstuvwxyz|\nabcdefghijklmnopqrstuvwxyz|"));
    EXPECT_FALSE(
        parseLetterRoots("xlit|abcdefghijklmnopqrstuvwxyz|a\x01"
                         "cdefghijklmnopqrstuvwxyz|"));
}

TEST(CinWriter, WritesATableTheEngineReadsInOrder) {
    const test::TempDir dir;
    std::vector<DictionaryEntry> entries{{"曰", "a"}, {"明", "ab"}, {"日", "a"}};
    LetterRoots roots;
    roots.fill("x");
    roots[0] = "日";
    roots[1] = "月";
    const std::string text = formatCin({"a comment"}, roots, entries);
    EXPECT_TRUE(text.starts_with("# a comment\n%gen_inp\n%ename CQInput-KV\n"));
    cqinput::CinTable table;
    ASSERT_TRUE(table.load(dir.write("out.cin", text)));
    EXPECT_EQ(table.lookup("a"), (std::vector<std::string>{"曰", "日"}));
    EXPECT_EQ(table.keyLabel("b"), "月");
    EXPECT_EQ(table.property("selkey"), "1234567890");
    EXPECT_EQ(table.property("cname"), "倉頡五代");
}

TEST(ImportCommand, ConvertsTheSampleAndReportsBadInput) {
    const test::TempDir dir;
    const std::string out = (dir.path() / "sample.cin").string();
    const std::string dict = test::dataFile("cqkv_sample.dict.yaml").string();
    const std::string schema = test::dataFile("cqkv_sample.schema.yaml").string();
    const test::RunResult run =
        test::runCqkv({"import", "--dict", dict, "--schema=" + schema, "--out", out}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    const test::RunResult lookup = test::runCqkv({"lookup", "--table", out, "ab", "a"}, dir);
    EXPECT_EQ(lookup.out, "ab:\n  明\n  冐\na:\n  日\n  曰\n");

    const test::RunResult toStdout =
        test::runCqkv({"import", "--dict", dict, "--schema", schema}, dir);
    EXPECT_EQ(toStdout.out, test::readFile(out));

    const test::RunResult missing =
        test::runCqkv({"import", "--dict", (dir.path() / "none.yaml").string(), "--out", out}, dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos);

    const std::string bad = dir.write("bad.yaml", "...\n日\ta\n明 ab\n").string();
    const test::RunResult malformed =
        test::runCqkv({"import", "--dict", bad, "--schema", schema, "--out", out}, dir);
    EXPECT_EQ(malformed.status, 1);
    EXPECT_EQ(malformed.err,
              "cqkv import: " + bad + ":3: expected a character, a tab and a code\n");
    EXPECT_EQ(test::readFile(out), toStdout.out);  // a failed import leaves the old table
    EXPECT_EQ(test::runCqkv({"import", "extra"}, dir).status, 2);
    EXPECT_EQ(test::runCqkv({"import", "--out"}, dir).status, 2);
    EXPECT_EQ(test::runCqkv({"import", "--table", "x"}, dir).status, 2);
}

}  // namespace
}  // namespace kv
