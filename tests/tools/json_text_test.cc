// SPDX-License-Identifier: MIT
#include "tools/cqkv/json_text.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(JsonText, KeepsUtf8AndEscapesWhatJsonForbids) {
    EXPECT_EQ(jsonString(""), "\"\"");
    EXPECT_EQ(jsonString("ab"), "\"ab\"");
    EXPECT_EQ(jsonString("日月 𠍒"), "\"日月 𠍒\"");
    EXPECT_EQ(jsonString("say \"hi\" \\ /"), "\"say \\\"hi\\\" \\\\ /\"");
    EXPECT_EQ(jsonString("a\nb\rc\td"), "\"a\\nb\\rc\\td\"");
    EXPECT_EQ(jsonString(std::string_view("\x00\x01\x1b\x1f\x7f", 5)),
              "\"\\u0000\\u0001\\u001b\\u001f\\u007f\"");
}

TEST(JsonText, ReplacesBytesThatAreNotUtf8) {
    EXPECT_EQ(jsonString("\x80"), "\"\\ufffd\"");                        // stray continuation
    EXPECT_EQ(jsonString("a\xE6\x97"), "\"a\\ufffd\\ufffd\"");           // truncated 日
    EXPECT_EQ(jsonString("\xC0\x80"), "\"\\ufffd\\ufffd\"");             // overlong NUL
    EXPECT_EQ(jsonString("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");  // a surrogate
    EXPECT_EQ(jsonString("\xF5\x80\x80\x80x"), "\"\\ufffd\\ufffd\\ufffd\\ufffdx\"");
    EXPECT_EQ(jsonString("\xFF日"), "\"\\ufffd日\"");
}

}  // namespace
}  // namespace kv
