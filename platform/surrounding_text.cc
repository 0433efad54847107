// SPDX-License-Identifier: MIT
#include "platform/surrounding_text.h"

#include <algorithm>

#include "platform/transforms.h"

namespace kv {

std::optional<SurroundingText> SurroundingText::fromCodePoints(std::string_view utf8,
                                                               std::uint64_t cursor,
                                                               std::uint64_t anchor) {
    SurroundingText s;
    s.text = Transforms::utf8ToUtf16(utf8);
    const auto length = static_cast<std::uint64_t>(
        Transforms::codePointsInUtf16(s.text, static_cast<std::int64_t>(s.text.size())));
    if (cursor > length || anchor > length) {
        return std::nullopt;
    }
    s.cursor = Transforms::utf16UnitsOfCodePoints(s.text, static_cast<std::int64_t>(cursor));
    s.anchor = Transforms::utf16UnitsOfCodePoints(s.text, static_cast<std::int64_t>(anchor));
    return s;
}

Range SurroundingText::selectedRange() const {
    const std::int64_t start = std::min(cursor, anchor);
    return Range{start, std::max(cursor, anchor) - start};
}

std::optional<std::u16string> SurroundingText::substring(Range range) const {
    if (range.location < 0 || range.length < 0 ||
        range.location > static_cast<std::int64_t>(text.size())) {
        return std::nullopt;
    }
    return text.substr(static_cast<std::size_t>(range.location),
                       static_cast<std::size_t>(range.length));
}

std::optional<SurroundingText::Deletion> SurroundingText::erase(Range range) {
    const auto size = static_cast<std::int64_t>(text.size());
    const std::int64_t start = std::clamp<std::int64_t>(range.location, 0, size);
    const std::int64_t end = std::clamp<std::int64_t>(start + range.length, start, size);
    if (end == start) {
        return std::nullopt;
    }
    const Deletion deletion{
        Transforms::codePointsInUtf16(text, start) - Transforms::codePointsInUtf16(text, cursor),
        Transforms::codePointsInUtf16(text, end) - Transforms::codePointsInUtf16(text, start)};
    text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
    cursor = anchor = start;
    return deletion;
}

}  // namespace kv
