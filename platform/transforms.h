// SPDX-License-Identifier: MIT
// Text transforms of the desktop's string services, over UTF-16 text as clients count it, and
// the conversions between the program's UTF-8 and that UTF-16.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/range.h"

namespace kv {

class Transforms {
  public:
    virtual ~Transforms() = default;

    // The transform "Traditional-Simplified": Traditional characters become their Simplified
    // forms, everything else is left as it is.
    virtual std::u16string traditionalToSimplified(std::u16string_view text) const = 0;
    // Full Unicode lower-casing, independent of the user's language.
    virtual std::u16string lowercase(std::u16string_view text) const = 0;
    // Blank characters within a line: tab and the Unicode space separators. Line breaks are not.
    virtual bool isWhiteSpace(char32_t c) const = 0;
    // The composed character sequence (a user-perceived character: a surrogate pair, a letter
    // with its combining marks...) that holds the unit at `index`. An index at or past the end
    // gives the empty range at the end.
    virtual Range rangeOfComposedCharacterSequence(std::u16string_view text,
                                                   std::int64_t index) const = 0;

    // LF, VT, FF, CR, NEL and the Unicode line and paragraph separators.
    static bool isLineBreak(char32_t c);
    // Strict decoding: text that is not well-formed UTF-8 decodes to the empty string.
    static std::u16string utf8ToUtf16(std::string_view text);
    // A unit of a broken surrogate pair becomes U+FFFD.
    static std::string utf16ToUtf8(std::u16string_view text);
    // Frameworks count the text around a caret in code points, clients in UTF-16 units.
    // The code points that begin in the first `units` units of `text`, clamped to it.
    static std::int64_t codePointsInUtf16(std::u16string_view text, std::int64_t units);
    // The units of the first `codePoints` code points of `text`, clamped to it.
    static std::int64_t utf16UnitsOfCodePoints(std::u16string_view text, std::int64_t codePoints);
};

}  // namespace kv
