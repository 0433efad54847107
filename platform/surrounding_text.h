// SPDX-License-Identifier: MIT
// The text a client tells around its caret, held in UTF-16 units as the controller counts. The
// frameworks tell it in UTF-8 with the caret and the anchor in code points, and delete around
// the caret by code points.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/range.h"

namespace kv {

struct SurroundingText {
    std::u16string text;
    std::int64_t cursor = 0;  // UTF-16 units
    std::int64_t anchor = 0;

    // Nothing when the caret or the anchor lies past the end: such a client does not know its
    // own text, and deleting by it could take the whole text.
    static std::optional<SurroundingText> fromCodePoints(std::string_view utf8,
                                                         std::uint64_t cursor,
                                                         std::uint64_t anchor);

    // The selection, or the caret as an empty range.
    Range selectedRange() const;
    // `range` of the text; nothing for a negative range or one that starts past the end.
    std::optional<std::u16string> substring(Range range) const;

    // A deletion as the frameworks take it: `count` code points from `offset` code points off
    // the caret.
    struct Deletion {
        std::int64_t offset = 0;
        std::int64_t count = 0;
    };
    // Deletes `range`, clamped to the text, the caret then at its start, as the client will have
    // it until it reports again; nothing when nothing of the range lies in the text.
    std::optional<Deletion> erase(Range range);
};

}  // namespace kv
