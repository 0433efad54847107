// SPDX-License-Identifier: MIT
#include "platform/transforms.h"

#include <algorithm>
#include <optional>

namespace kv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0u) == 0x80u;
}

// The sequence length announced by a lead byte and the smallest code point it may carry, so
// that over-long forms are refused.
struct Lead {
    int length;
    char32_t bits;
    char32_t minimum;
};

std::optional<Lead> ReadLead(unsigned char byte) {
    if (byte < 0x80u) {
        return Lead{1, byte, 0};
    }
    if ((byte & 0xE0u) == 0xC0u) {
        return Lead{2, byte & 0x1Fu, 0x80};
    }
    if ((byte & 0xF0u) == 0xE0u) {
        return Lead{3, byte & 0x0Fu, 0x800};
    }
    if ((byte & 0xF8u) == 0xF0u) {
        return Lead{4, byte & 0x07u, 0x10000};
    }
    return std::nullopt;
}

// Decodes one code point at `pos` and advances past it; nothing when the bytes are malformed.
std::optional<char32_t> DecodeOne(std::string_view text, std::size_t& pos) {
    const std::optional<Lead> lead = ReadLead(static_cast<unsigned char>(text[pos]));
    if (!lead || text.size() - pos < static_cast<std::size_t>(lead->length)) {
        return std::nullopt;
    }
    char32_t c = lead->bits;
    for (int i = 1; i < lead->length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
        if (!IsContinuation(byte)) {
            return std::nullopt;
        }
        c = (c << 6) | (byte & 0x3Fu);
    }
    if (c < lead->minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += static_cast<std::size_t>(lead->length);
    return c;
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

bool Transforms::isLineBreak(char32_t c) {
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

std::u16string Transforms::utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::optional<char32_t> c = DecodeOne(text, pos);
        if (!c) {
            return {};
        }
        AppendUtf16(out, *c);
    }
    return out;
}

std::string Transforms::utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const char32_t high = unit - 0xD800u;
            const char32_t low = text[i + 1] - 0xDC00u;
            AppendUtf8(out, 0x10000 + (high << 10) + low);
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::int64_t Transforms::codePointsInUtf16(std::u16string_view text, std::int64_t units) {
    const auto end = static_cast<std::size_t>(
        std::clamp<std::int64_t>(units, 0, static_cast<std::int64_t>(text.size())));
    std::int64_t points = 0;
    for (std::size_t i = 0; i < end; ++i) {
        // A pair's second half belongs to the code point its first half began.
        if (!(IsLowSurrogate(text[i]) && i > 0 && IsHighSurrogate(text[i - 1]))) {
            ++points;
        }
    }
    return points;
}

std::int64_t Transforms::utf16UnitsOfCodePoints(std::u16string_view text, std::int64_t codePoints) {
    std::size_t i = 0;
    for (std::int64_t n = 0; n < codePoints && i < text.size(); ++n) {
        const bool pair =
            IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
        i += pair ? 2 : 1;
    }
    return static_cast<std::int64_t>(i);
}

}  // namespace kv
