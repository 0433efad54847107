// SPDX-License-Identifier: MIT
// The surrounding text a client reports, as the controller reads it back: a cursor or anchor
// past the text's end means the text is unknown, not "delete everything before here".
#include "hosts/linux/ibus_text_client.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>

namespace kv {
namespace {

TEST(IBusTextClientSurrounding, ACaretPastTheTextLeavesNoTextToEditAround) {
    IBusTextClient client(std::make_shared<IBusEngineLink>(), "/context/1");
    // Offsets count characters: the caret after "你好" is unit 2 whatever the bytes.
    client.setSurroundingText("你好 world", 2, 0);
    EXPECT_EQ(client.selectedRange(), (Range{0, 2}));
    EXPECT_EQ(client.attributedSubstringFromRange(Range{0, 2}), u"你好");
    client.setSurroundingText("hello world", 11, 11);
    EXPECT_EQ(client.selectedRange(), (Range{11, 0}));

    constexpr std::uint32_t kFar = std::numeric_limits<std::uint32_t>::max();
    const struct {
        std::uint32_t cursor;
        std::uint32_t anchor;
    } unknown[] = {{kFar, 0}, {0, kFar}, {12, 12}, {5, 12}};
    for (const auto& [cursor, anchor] : unknown) {
        client.setSurroundingText("hello world", 5, 5);
        client.setSurroundingText("hello world", cursor, anchor);
        // No caret: the controller's Backspace then goes out as the key, as with no text at all.
        EXPECT_EQ(client.selectedRange(), std::nullopt) << cursor << " " << anchor;
        EXPECT_EQ(client.attributedSubstringFromRange(Range{0, 5}), std::nullopt);
    }
}

}  // namespace
}  // namespace kv
