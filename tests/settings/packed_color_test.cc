// SPDX-License-Identifier: MIT
// Colours as they are stored: 0xRRGGBB written with rounding, read from the low 24 bits.
#include "settings/packed_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "platform/color.h"

namespace kv {
namespace {

TEST(PackedColor, ReadsTheLowTwentyFourBits) {
    EXPECT_EQ(KVColorFromPacked(0x1FF8000), Color::fromRGB255(255, 128, 0));
    EXPECT_EQ(KVColorFromPacked(-1), Color::fromRGB255(255, 255, 255));
    EXPECT_EQ(KVColorFromPacked(0), Color::fromRGB255(0, 0, 0));
    EXPECT_EQ(KVColorFromPacked(880787), Color::fromRGB255(13, 112, 147));
    EXPECT_EQ(KVColorFromPacked(0x0D7093).alpha, 1.0);
}

TEST(PackedColor, WritesEachComponentRoundedAndClampedIntoItsOwnByte) {
    EXPECT_EQ(KVPackedColor(Color::fromRGB255(13, 112, 147)), 880787);
    EXPECT_EQ(KVPackedColor(Color{0, 0, 0, 0.2}), 0);
    // 0.5 × 255 = 127.5 rounds away from zero.
    EXPECT_EQ(KVPackedColor(Color{0.5, 0.5, 0.5, 1}), 0x808080);
    EXPECT_EQ(KVPackedColor(Color{127.4 / 255, 0, 0, 1}), 0x7F0000);
    EXPECT_EQ(KVPackedColor(Color{0, 1.5, 0, 1}), 0x00FF00);
    EXPECT_EQ(KVPackedColor(Color{-0.3, 0, 2, 1}), 0x0000FF);
    EXPECT_EQ(KVPackedColor(Color{std::nan(""), 0, 0, 1}), 0);
    for (const std::int64_t packed : {0x000000, 0x0B1422, 0xFFDD00, 0x7F7F7F, 0xFFFFFF, 0x010203}) {
        EXPECT_EQ(KVPackedColor(KVColorFromPacked(packed)), packed);
    }
}

}  // namespace
}  // namespace kv
