// SPDX-License-Identifier: MIT
// The words window's listing of the file, line ends and blanks in detail.
#include "words/user_phrase_listing.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_services.h"

namespace kv {
namespace {

using Rows = std::vector<UserPhraseRow>;

TEST(UserPhraseListing, EveryKindOfLineEndEndsALine) {
    const MemoryServices services;
    EXPECT_EQ(KVListUserPhrases("a 1\nb 2\rc 3\r\nd 4\u2029e 5"),
              (Rows{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}, {"e", "5"}}));
    EXPECT_EQ(KVListUserPhrases("\r\n\r\n\n"), Rows{});
    EXPECT_EQ(KVListUserPhrases(""), Rows{});
}

TEST(UserPhraseListing, CodesStayAsWrittenAndPhrasesAreTrimmed) {
    const MemoryServices services;
    // A no-break space is a blank too; the code is cut at the first blank of any kind.
    EXPECT_EQ(KVListUserPhrases("AbC\u00A0 x  y \t\nq\tz"), (Rows{{"AbC", "x  y"}, {"q", "z"}}));
    // Only the first byte order mark of the text goes; a later one is part of the code.
    EXPECT_EQ(KVListUserPhrases("\xEF\xBB\xBF\xEF\xBB\xBF"
                                "a 1"),
              (Rows{{"\xEF\xBB\xBF"
                     "a",
                     "1"}}));
}

}  // namespace
}  // namespace kv
