// SPDX-License-Identifier: MIT
// Reading CIN files: line ends, byte order marks, folding, sections, repeats and refusals.
#include <gtest/gtest.h>

#include "engine/cin_table.h"
#include "engine_test_support.h"

namespace cqinput::test {
namespace {

const std::initializer_list<std::string_view> kSampleLines = {
    "%ename Sample",  "%cname 樣本", "%keyname begin", "a 日",  "b 月",         "%keyname end",
    "%chardef begin", "a 日",        "a 曰",           "ab 明", "%chardef end",
};

void ExpectSample(const CinTable& table) {
    EXPECT_EQ(table.lookup("a"), (Strings{"日", "曰"}));
    EXPECT_EQ(table.lookup("ab"), (Strings{"明"}));
    EXPECT_EQ(table.keyLabel("b"), "月");
    EXPECT_EQ(table.property("ename"), "Sample");
    EXPECT_EQ(table.property("cname"), "樣本");
}

TEST(CinTableLoad, LfCrAndCrLfLineEndsReadAlike) {
    TempDir dir;
    for (const std::string_view end : {"\n", "\r", "\r\n", "\n\n", "\r\n\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(end)));
        ExpectSample(loadedTable(dir.write("t.cin", lines(kSampleLines, end))));
    }
    // The last line needs no terminator.
    std::string unterminated = lines(kSampleLines);
    unterminated.pop_back();
    ExpectSample(loadedTable(dir.write("u.cin", unterminated)));
}

TEST(CinTableLoad, ByteOrderMarkIsDroppedAtTheStartOfAnyLine) {
    TempDir dir;
    const std::string bom = "\xEF\xBB\xBF";
    ExpectSample(loadedTable(dir.write("first.cin", bom + lines(kSampleLines))));

    std::string everyLine;
    for (const std::string_view line : kSampleLines) {
        everyLine += bom + std::string(line) + "\r\n" + bom + "\r\n";  // and BOM-only lines
    }
    const CinTable table = loadedTable(dir.write("every.cin", everyLine));
    ExpectSample(table);
    EXPECT_TRUE(table.lookup(bom + "a").empty());
}

TEST(CinTableLoad, FoldsCodesKeyNamesAndPropertyNamesButNotValues) {
    TempDir dir;
    const CinTable table = loadedTable(dir.write(
        "t.cin", lines({"%EName MixedCase", "%keyname begin", "B 月", "%keyname end",
                        "%chardef begin", "AB 明", "ab 朋", "aB 盟", "É 非", "%chardef end"})));
    EXPECT_EQ(table.lookup("ab"), (Strings{"明", "朋", "盟"}));
    EXPECT_EQ(table.lookup("AB"), table.lookup("ab"));
    EXPECT_EQ(table.keyLabel("b"), "月");
    EXPECT_EQ(table.keyLabel("B"), "月");
    EXPECT_EQ(table.property("ename"), "MixedCase");
    EXPECT_EQ(table.property("ENAME"), "MixedCase");
    // Only A to Z fold; the bytes of a multi-byte character stay as they are.
    EXPECT_EQ(table.lookup("É"), (Strings{"非"}));
    EXPECT_TRUE(table.lookup("é").empty());
}

TEST(CinTableLoad, SectionMarkersAreExactButToleratesBlanksAround) {
    TempDir dir;
    const CinTable table = loadedTable(
        dir.write("t.cin", lines({"%keyname \t begin \t", "a 日", "%keyname  end",
                                  "%chardef\tbegin  ", "a 日", "%chardef \t end \t", "b 月"})));
    EXPECT_EQ(table.keyLabel("a"), "日");
    EXPECT_EQ(table.lookup("a"), (Strings{"日"}));
    EXPECT_TRUE(table.lookup("b").empty());  // after the section's end

    for (const std::string_view marker :
         {"%CHARDEF begin", "%chardef BEGIN", "%Chardef begin", "%chardef begin now",
          "%chardef beginning", " %chardef begin", "#%chardef begin"}) {
        SCOPED_TRACE(marker);
        CinTable untouched;
        EXPECT_FALSE(untouched.load(dir.write("bad.cin", lines({marker, "a 日"}))));
    }
}

TEST(CinTableLoad, MarkersThatAreNoMarkersBecomeEntriesOrProperties) {
    TempDir dir;
    const CinTable table = loadedTable(dir.write(
        "t.cin", lines({"%chardef end", "%keyname end", "%chardef begin", "a 日", "%CHARDEF end",
                        "%keyname end", "%chardef end x", "b 月", "%chardef end"})));
    // At top level the end markers are ordinary properties.
    EXPECT_EQ(table.property("chardef"), "end");
    EXPECT_EQ(table.property("keyname"), "end");
    // Inside the section anything but the exact end marker is a code with a value.
    EXPECT_EQ(table.lookup("%chardef"), (Strings{"end", "end x"}));
    EXPECT_EQ(table.lookup("%keyname"), (Strings{"end"}));
    EXPECT_EQ(table.lookup("b"), (Strings{"月"}));
}

TEST(CinTableLoad, OpenSectionRunsToTheEndOfTheFile) {
    TempDir dir;
    const CinTable table = loadedTable(dir.write(
        "t.cin", lines({"%chardef begin", "a 日", "%keyname begin", "%ename X", "z 尾"})));
    EXPECT_EQ(table.lookup("z"), (Strings{"尾"}));
    EXPECT_EQ(table.lookup("%keyname"), (Strings{"begin"}));
    EXPECT_EQ(table.lookup("%ename"), (Strings{"X"}));
    EXPECT_EQ(table.property("ename"), "");
    EXPECT_EQ(table.keyLabel("z"), "");

    // A key-name section left open swallows the chardef marker, so nothing is defined.
    CinTable none;
    EXPECT_FALSE(none.load(
        dir.write("open.cin", lines({"%keyname begin", "a 日", "%chardef begin", "a 日"}))));
}

TEST(CinTableLoad, CommentsExistOnlyAtTopLevel) {
    TempDir dir;
    const CinTable table = loadedTable(dir.write(
        "t.cin", lines({"# %ename Hidden", "#%cname Hidden", "ename NoPercent", "%keyname begin",
                        "# 井", "%keyname end", "%chardef begin", "# 井", "#a 丼", "a 日"})));
    EXPECT_EQ(table.property("ename"), "");
    EXPECT_EQ(table.property("cname"), "");
    EXPECT_EQ(table.keyLabel("#"), "井");
    EXPECT_EQ(table.lookup("#"), (Strings{"井"}));
    EXPECT_EQ(table.lookup("#a"), (Strings{"丼"}));
}

TEST(CinTableLoad, RepeatsReplaceLabelsAndPropertiesButAccumulateCandidates) {
    TempDir dir;
    const CinTable table = loadedTable(
        dir.write("t.cin", lines({"%selkey 123", "%SELKEY 456", "%keyname begin", "a 日", "A 曰",
                                  "%keyname end", "%chardef begin", "a 日", "b 月", "a 曰", "a 日",
                                  "%chardef end", "%chardef begin", "a 旦"})));
    EXPECT_EQ(table.property("selkey"), "456");
    EXPECT_EQ(table.keyLabel("a"), "曰");
    EXPECT_EQ(table.lookup("a"), (Strings{"日", "曰", "日", "旦"}));
    EXPECT_EQ(table.lookup("b"), (Strings{"月"}));
}

TEST(CinTableLoad, ValuesKeepInnerBlanksAndAnyBytes) {
    TempDir dir;
    const CinTable table = loadedTable(
        dir.write("t.cin", lines({"%cname  測 試 ", "%flag", "%chardef begin", "ab 日 月",
                                  "ac\t \t日\t月\t ", "ad \xFF\xFE", "abcdefghij 長"})));
    EXPECT_EQ(table.lookup("ab"), (Strings{"日 月"}));
    EXPECT_EQ(table.lookup("ac"), (Strings{"日\t月"}));
    EXPECT_EQ(table.lookup("ad"), (Strings{"\xFF\xFE"}));    // values are not checked as UTF-8
    EXPECT_EQ(table.lookup("abcdefghij"), (Strings{"長"}));  // no code length limit in a table
    EXPECT_EQ(table.property("cname"), "測 試");
    EXPECT_EQ(table.property("flag"), "");
}

TEST(CinTableLoad, LinesWithoutValueAddNothing) {
    TempDir dir;
    const CinTable table =
        loadedTable(dir.write("t.cin", lines({"%keyname begin", "a", "b  \t", "%keyname end",
                                              "%chardef begin", "ab", "ab   ", "\t日", "c 金"})));
    EXPECT_EQ(table.keyLabel("a"), "");
    EXPECT_EQ(table.keyLabel("b"), "");
    EXPECT_TRUE(table.lookup("ab").empty());
    EXPECT_EQ(table.lookup("c"), (Strings{"金"}));
}

TEST(CinTableLoad, FailedLoadLeavesTheEarlierTableIntact) {
    TempDir dir;
    const auto good = dir.write("good.cin", lines(kSampleLines));
    CinTable table = loadedTable(good);
    std::filesystem::create_directory(dir.path() / "folder");
    const std::vector<std::filesystem::path> refused = {
        dir.write("empty.cin", ""),
        dir.path() / "missing.cin",
        dir.path() / "folder",
        dir.write("nochardef.cin",
                  lines({"%ename Other", "%keyname begin", "a 甲", "%keyname end"})),
        dir.write("emptysection.cin",
                  lines({"%ename Other", "%chardef begin", "a", "%chardef end"})),
        dir.write("onlyblanks.cin", "\r\n\n\r\xEF\xBB\xBF\n"),
    };
    for (const auto& path : refused) {
        SCOPED_TRACE(path.filename().string());
        EXPECT_FALSE(table.load(path));
        ExpectSample(table);
        // The stored path and stamps are those of the good file still.
        EXPECT_EQ(table.reloadIfChanged(), ReloadResult::Unchanged);
    }
}

}  // namespace
}  // namespace cqinput::test
