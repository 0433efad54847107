// SPDX-License-Identifier: MIT
// The settings file format on bytes alone: what parses, what is refused, what a write keeps.
#include "platform/linux/defaults_key_file.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace kv {
namespace {

TEST(DefaultsKeyFile, ReadsEachGroupAsItsType) {
    const std::optional<DefaultsMap> values = ParseDefaultsKeyFile(
        "[Boolean]\nA=false\n[Integer]\nB=-12\n[Real]\nC=0.5\n[String]\nD=a\\nb\nA=shadowed\n");
    ASSERT_TRUE(values);
    EXPECT_EQ(values->at("A"), DefaultsValue(false));
    EXPECT_EQ(values->at("B"), DefaultsValue(std::int64_t{-12}));
    EXPECT_EQ(values->at("C"), DefaultsValue(0.5));
    EXPECT_EQ(values->at("D"), DefaultsValue(std::string("a\nb")));
    EXPECT_EQ(values->size(), 4u);

    EXPECT_EQ(ParseDefaultsKeyFile(""), DefaultsMap{});
    EXPECT_EQ(ParseDefaultsKeyFile("# only a comment\n"), DefaultsMap{});
}

TEST(DefaultsKeyFile, CarriageReturnsBeforeALineEndAreLineEnds) {
    // A file edited on another system: the values read the same before and after a write.
    const std::string edited = "[Integer]\r\nB=3\r\r\n[String]\r\nD=x\r";
    const DefaultsMap wanted{{"B", std::int64_t{3}}, {"D", std::string("x")}};
    EXPECT_EQ(ParseDefaultsKeyFile(edited), wanted);
    const std::optional<std::string> updated = UpdateDefaultsKeyFile(edited, "E", true);
    ASSERT_TRUE(updated);
    EXPECT_EQ(ParseDefaultsKeyFile(*updated)->at("B"), wanted.at("B"));
    EXPECT_EQ(ParseDefaultsKeyFile(*updated)->at("D"), wanted.at("D"));
}

TEST(DefaultsKeyFile, RefusesWhatIsNoKeyFile) {
    for (const std::string& bad :
         std::initializer_list<std::string>{"A=1\n", "[Integer\nA=1\n", "[Integer]\nno pair\n",
                                            std::string("[Integer]\nA=1\0\n", 14)}) {
        EXPECT_FALSE(ParseDefaultsKeyFile(bad)) << bad;
        EXPECT_FALSE(UpdateDefaultsKeyFile(bad, "A", std::int64_t{1})) << bad;
    }
}

TEST(DefaultsKeyFile, AnUpdateRoundTripsEveryType) {
    std::string bytes;
    const DefaultsMap wanted = {{"Yes", true},
                                {"Big", std::int64_t{-9223372036854775807 - 1}},
                                {"Tiny", 1e-300},
                                {"Text", std::string("  [x]=y # z\t\\")}};
    for (const auto& [key, value] : wanted) {
        const std::optional<std::string> updated = UpdateDefaultsKeyFile(bytes, key, value);
        ASSERT_TRUE(updated) << key;
        bytes = *updated;
    }
    EXPECT_EQ(ParseDefaultsKeyFile(bytes), wanted);
}

TEST(DefaultsKeyFile, AKeyWrittenTwiceReadsItsLastValueAndAWriteReplacesBoth) {
    const std::string bytes =
        "[Integer]\n# chosen by hand\nThemePreset=3\nThemeText=1\nThemePreset=5\n[Mine]\nx=1\n";
    EXPECT_EQ(ParseDefaultsKeyFile(bytes)->at("ThemePreset"), DefaultsValue(std::int64_t{5}));

    const std::optional<std::string> updated =
        UpdateDefaultsKeyFile(bytes, "ThemePreset", std::string("dark"));
    ASSERT_TRUE(updated);
    const std::optional<DefaultsMap> values = ParseDefaultsKeyFile(*updated);
    EXPECT_EQ(values->at("ThemePreset"), DefaultsValue(std::string("dark")));
    EXPECT_EQ(values->at("ThemeText"), DefaultsValue(std::int64_t{1}));
    EXPECT_NE(updated->find("[Mine]\nx=1"), std::string::npos);
}

}  // namespace
}  // namespace kv
