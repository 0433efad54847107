// SPDX-License-Identifier: MIT
// The text of one client session: marked text, insertion, where characters are on screen and
// what surrounds the caret. Positions and lengths count UTF-16 code units.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/geometry.h"
#include "platform/range.h"

namespace kv {

enum class Underline {
    None = 0,
    Single = 1,  // drawn in the desktop's accent colour
};

// Whether the client had text attributes at a character: some clients answer with none.
enum class CharacterAttributes { Present, MissingOrEmpty };

class TextClient {
  public:
    virtual ~TextClient() = default;

    // Shows `text` as provisional text with `underline` over all of it; the caret or selection
    // is `selectionRange` within it. Empty text removes the marked text.
    virtual void setMarkedText(std::u16string_view text, Underline underline, Range selectionRange,
                               Range replacementRange) = 0;
    // Commits `text`, replacing `replacementRange` of the document, or the marked text or
    // selection at the caret when the range is Range::notFound().
    virtual void insertText(std::u16string_view text, Range replacementRange) = 0;

    // Fills `lineHeightRectangle` (screen coordinates) with the line-height rectangle of the
    // character at `index`. Nothing when the client failed while answering; the rectangle is
    // then left as the client had it at that moment.
    virtual std::optional<CharacterAttributes> attributesForCharacterIndex(
        std::int64_t index, Rect& lineHeightRectangle) = 0;
    // The rectangle of the first line of `range`, or nothing when the client failed.
    virtual std::optional<Rect> firstRectForCharacterRange(Range range) = 0;

    // The selection or caret, or nothing for a client that does not tell.
    virtual std::optional<Range> selectedRange() = 0;
    // The plain text of `range` of the document, or nothing when the client has none to give.
    virtual std::optional<std::u16string> attributedSubstringFromRange(Range range) = 0;
};

}  // namespace kv
