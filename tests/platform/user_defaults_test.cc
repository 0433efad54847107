// SPDX-License-Identifier: MIT
// The typed readings of stored values, as the desktop's defaults store coerces them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/memory/memory_user_defaults.h"

namespace kv {
namespace {

TEST(UserDefaults, AbsentKeysAndStoredValuesCoerceToEachType) {
    MemoryUserDefaults defaults;
    EXPECT_FALSE(defaults.boolForKey("Missing"));
    EXPECT_EQ(defaults.integerForKey("Missing"), 0);
    EXPECT_FALSE(defaults.stringForKey("Missing"));

    defaults.setBool("Yes", true);
    defaults.setBool("No", false);
    EXPECT_EQ(defaults.integerForKey("Yes"), 1);
    EXPECT_EQ(defaults.integerForKey("No"), 0);

    defaults.setInteger("Seven", 7);
    EXPECT_TRUE(defaults.boolForKey("Seven"));
    EXPECT_EQ(defaults.stringForKey("Seven"), "7");

    defaults.setObject("Real", 2.9);
    EXPECT_EQ(defaults.integerForKey("Real"), 2);
    defaults.setObject("Negative", -2.9);
    EXPECT_EQ(defaults.integerForKey("Negative"), -2);
    defaults.setObject("Huge", 1e300);
    EXPECT_EQ(defaults.integerForKey("Huge"), std::numeric_limits<std::int64_t>::max());
    defaults.setObject("NaN", std::nan(""));
    EXPECT_EQ(defaults.integerForKey("NaN"), 0);

    defaults.setObject("Text", std::string("abc"));
    EXPECT_EQ(defaults.integerForKey("Text"), 0);
    EXPECT_FALSE(defaults.boolForKey("Text"));
    defaults.setObject("Digits", std::string(" 42px"));
    EXPECT_EQ(defaults.integerForKey("Digits"), 42);
    defaults.setObject("Signed", std::string("-3"));
    EXPECT_EQ(defaults.integerForKey("Signed"), -3);
    defaults.setObject("Word", std::string("YES"));
    EXPECT_TRUE(defaults.boolForKey("Word"));
}

}  // namespace
}  // namespace kv
