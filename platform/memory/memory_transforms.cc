// SPDX-License-Identifier: MIT
#include "platform/memory/memory_transforms.h"

#include <array>
#include <utility>

namespace kv {

namespace {

constexpr std::array<std::pair<char16_t, char16_t>, 30> kSimplified = {{
    {u'體', u'体'}, {u'國', u'国'}, {u'門', u'门'}, {u'學', u'学'}, {u'這', u'这'}, {u'個', u'个'},
    {u'們', u'们'}, {u'會', u'会'}, {u'來', u'来'}, {u'時', u'时'}, {u'說', u'说'}, {u'電', u'电'},
    {u'腦', u'脑'}, {u'語', u'语'}, {u'漢', u'汉'}, {u'為', u'为'}, {u'與', u'与'}, {u'麼', u'么'},
    {u'愛', u'爱'}, {u'書', u'书'}, {u'車', u'车'}, {u'馬', u'马'}, {u'鳥', u'鸟'}, {u'龍', u'龙'},
    {u'雲', u'云'}, {u'階', u'阶'}, {u'輸', u'输'}, {u'詞', u'词'}, {u'組', u'组'}, {u'設', u'设'},
}};

bool IsHigh(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLow(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code point at `pos` and how many units it takes.
std::pair<char32_t, std::size_t> CodePointAt(std::u16string_view text, std::size_t pos) {
    if (IsHigh(text[pos]) && pos + 1 < text.size() && IsLow(text[pos + 1])) {
        const char32_t c = 0x10000 + ((text[pos] - 0xD800u) << 10) + (text[pos + 1] - 0xDC00u);
        return {c, 2};
    }
    return {text[pos], 1};
}

bool Extends(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0xFE00 && c <= 0xFE0F) ||
           (c >= 0x1F3FB && c <= 0x1F3FF);
}

// The end of the sequence that starts at `start`.
std::size_t SequenceEnd(std::u16string_view text, std::size_t start) {
    if (text[start] == u'\r' && start + 1 < text.size() && text[start + 1] == u'\n') {
        return start + 2;
    }
    std::size_t end = start + CodePointAt(text, start).second;
    while (end < text.size()) {
        const auto [c, units] = CodePointAt(text, end);
        if (Extends(c)) {
            end += units;
        } else if (c == 0x200D && end + 1 < text.size()) {
            end += 1;
            end += CodePointAt(text, end).second;
        } else {
            break;
        }
    }
    return end;
}

}  // namespace

std::u16string MemoryTransforms::traditionalToSimplified(std::u16string_view text) const {
    std::u16string out(text);
    for (char16_t& unit : out) {
        for (const auto& [traditional, simplified] : kSimplified) {
            if (unit == traditional) {
                unit = simplified;
                break;
            }
        }
    }
    return out;
}

std::u16string MemoryTransforms::lowercase(std::u16string_view text) const {
    std::u16string out(text);
    for (char16_t& unit : out) {
        const bool ascii = unit >= u'A' && unit <= u'Z';
        const bool latin1 = unit >= 0xC0 && unit <= 0xDE && unit != 0xD7;
        if (ascii || latin1) {
            unit = static_cast<char16_t>(unit + 0x20);
        }
    }
    return out;
}

bool MemoryTransforms::isWhiteSpace(char32_t c) const {
    return c == 0x09 || c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

Range MemoryTransforms::rangeOfComposedCharacterSequence(std::u16string_view text,
                                                         std::int64_t index) const {
    const auto size = static_cast<std::int64_t>(text.size());
    if (index >= size) {
        return {size, 0};
    }
    if (index < 0) {
        return {0, 0};
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = SequenceEnd(text, start);
        if (index < static_cast<std::int64_t>(end)) {
            return {static_cast<std::int64_t>(start), static_cast<std::int64_t>(end - start)};
        }
        start = end;
    }
}

}  // namespace kv
