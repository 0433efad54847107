// SPDX-License-Identifier: MIT
#include "platform/memory/recording_text_client.h"

#include <algorithm>

#include "platform/transforms.h"

namespace kv {

namespace {

// The part of a range that lies within a text of `size` units.
Range Clamped(Range range, std::int64_t size) {
    const std::int64_t location = std::clamp<std::int64_t>(range.location, 0, size);
    const std::int64_t length = std::clamp<std::int64_t>(range.length, 0, size - location);
    return {location, length};
}

}  // namespace

void RecordingTextClient::setMarkedText(std::u16string_view text, Underline underline,
                                        Range selectionRange, Range replacementRange) {
    markedTextCalls.push_back({std::u16string(text), underline, selectionRange, replacementRange});
    markedText = text;
    markedUnderline = text.empty() ? Underline::None : underline;
    markedSelection = selectionRange;
}

void RecordingTextClient::insertText(std::u16string_view text, Range replacementRange) {
    insertions.push_back({std::u16string(text), replacementRange});
    const auto size = static_cast<std::int64_t>(document.size());
    const Range target = replacementRange.location == NotFound ? Clamped(selection, size)
                                                               : Clamped(replacementRange, size);
    document.replace(static_cast<std::size_t>(target.location),
                     static_cast<std::size_t>(target.length), text);
    selection = {target.location + static_cast<std::int64_t>(text.size()), 0};
    // Committing text ends the composition.
    markedText.clear();
    markedUnderline = Underline::None;
    markedSelection = {};
}

std::optional<CharacterAttributes> RecordingTextClient::attributesForCharacterIndex(
    std::int64_t index, Rect& lineHeightRectangle) {
    attributeQueries.push_back(index);
    if (raises) {
        return std::nullopt;
    }
    lineHeightRectangle = lineHeightRect;
    return attributes;
}

std::optional<Rect> RecordingTextClient::firstRectForCharacterRange(Range) {
    if (raises) {
        return std::nullopt;
    }
    return firstRect;
}

std::optional<Range> RecordingTextClient::selectedRange() {
    if (!respondsToSelectedRange) {
        return std::nullopt;
    }
    return selection;
}

std::optional<std::u16string> RecordingTextClient::attributedSubstringFromRange(Range range) {
    const auto size = static_cast<std::int64_t>(document.size());
    if (!answersSubstrings || range.location < 0 || range.location > size) {
        return std::nullopt;
    }
    const Range part = Clamped(range, size);
    return document.substr(static_cast<std::size_t>(part.location),
                           static_cast<std::size_t>(part.length));
}

std::string RecordingTextClient::marked() const {
    return Transforms::utf16ToUtf8(markedText);
}

std::string RecordingTextClient::inserted() const {
    std::string joined;
    for (const Insertion& insertion : insertions) {
        joined += Transforms::utf16ToUtf8(insertion.text);
    }
    return joined;
}

std::string RecordingTextClient::text() const {
    return Transforms::utf16ToUtf8(document);
}

}  // namespace kv
