// SPDX-License-Identifier: MIT
// What reaches the log: text as it was, but no byte a terminal or a log reader would act on.
#include "platform/log.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

TEST(LogLine, ControlBytesAndBrokenUtf8AreWrittenAsEscapes) {
    EXPECT_EQ(EscapedLogLine("refused /home/使用者/詞組.txt:3: ok"),
              "refused /home/使用者/詞組.txt:3: ok");
    EXPECT_EQ(EscapedLogLine(std::string("a\0b\x1B[2J\r\nc\x7F", 11)),
              "a\\x00b\\x1B[2J\\x0D\\x0Ac\\x7F");
    // A cut character, a stray continuation byte, an overlong form, a surrogate, past U+10FFFF.
    EXPECT_EQ(
        EscapedLogLine("\xE6\xB8 \x80 \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xF0\x9F\x98\x80"),
        "\\xE6\\xB8 \\x80 \\xC0\\xAF \\xED\\xA0\\x80 \\xF4\\x90\\x80\\x80 \xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace kv
