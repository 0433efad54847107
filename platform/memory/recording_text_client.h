// SPDX-License-Identifier: MIT
// A client session's text held in memory: it records marked text and insertions, edits its
// document as a text field would, and answers the geometry and selection queries as arranged
// by the test, including a client that fails while answering.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_client.h"

namespace kv {

class RecordingTextClient final : public TextClient {
  public:
    struct MarkedTextCall {
        std::u16string text;
        Underline underline;
        Range selectionRange;
        Range replacementRange;
    };
    struct Insertion {
        std::u16string text;
        Range replacementRange;
    };

    void setMarkedText(std::u16string_view text, Underline underline, Range selectionRange,
                       Range replacementRange) override;
    void insertText(std::u16string_view text, Range replacementRange) override;
    std::optional<CharacterAttributes> attributesForCharacterIndex(
        std::int64_t index, Rect& lineHeightRectangle) override;
    std::optional<Rect> firstRectForCharacterRange(Range range) override;
    std::optional<Range> selectedRange() override;
    std::optional<std::u16string> attributedSubstringFromRange(Range range) override;

    // UTF-8 views for assertions: the marked text, every insertion joined, the document.
    std::string marked() const;
    std::string inserted() const;
    std::string text() const;

    // What the client shows now.
    std::u16string markedText;
    Underline markedUnderline = Underline::None;
    Range markedSelection;
    // Every call, in order.
    std::vector<MarkedTextCall> markedTextCalls;
    std::vector<Insertion> insertions;
    std::vector<std::int64_t> attributeQueries;

    // The surrounding text and the selection in it (a caret when the length is 0). Insertions
    // at Range::notFound() replace the selection and leave the caret after the new text.
    std::u16string document;
    Range selection;
    bool respondsToSelectedRange = true;
    bool answersSubstrings = true;

    // The answers about positions on screen.
    Rect lineHeightRect{100, 100, 1, 20};
    CharacterAttributes attributes = CharacterAttributes::Present;
    Rect firstRect{100, 100, 0, 20};
    // The geometry queries fail without touching the rectangle, as a client that raises.
    bool raises = false;
};

}  // namespace kv
