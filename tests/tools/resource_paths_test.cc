// SPDX-License-Identifier: MIT
#include "tools/cqkv/resource_paths.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(ResourcePaths, UserDictionaryFollowsXdgDataHome) {
    EXPECT_EQ(userDictionaryPath("/data", "/home/me"),
              std::filesystem::path("/data/CQ_Input_KV/CQ_Input_KV_User.txt"));
    // An empty or relative XDG_DATA_HOME is ignored, as the base directory rules say.
    const std::filesystem::path fallback("/home/me/.local/share/CQ_Input_KV/CQ_Input_KV_User.txt");
    EXPECT_EQ(userDictionaryPath("", "/home/me"), fallback);
    EXPECT_EQ(userDictionaryPath("relative", "/home/me"), fallback);
    EXPECT_EQ(userDictionaryPath(nullptr, "/home/me"), fallback);
    EXPECT_FALSE(userDictionaryPath(nullptr, nullptr));
    EXPECT_FALSE(userDictionaryPath("", ""));
}

TEST(ResourcePaths, ShippedTableIsLookedForBesideTheExecutableFirst) {
    const std::vector<std::filesystem::path> candidates = shippedTableCandidates("/opt/kv/bin");
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], std::filesystem::path("/opt/kv/bin/CQInput-KV.cin"));
    EXPECT_EQ(candidates[1], std::filesystem::path("/opt/kv/share/cqinputkv/CQInput-KV.cin"));
    EXPECT_EQ(candidates[2].filename(), "CQInput-KV.cin");
    EXPECT_EQ(shippedTableCandidates("").size(), 1u);
}

}  // namespace
}  // namespace kv
