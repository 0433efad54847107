// SPDX-License-Identifier: MIT
#include "platform/memory/memory_bodies.h"

#include <algorithm>

namespace kv {

Size FixedWidthTextMeasurer::sizeOf(std::string_view text, const Font& font) const {
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    });
    return {static_cast<double>(characters) * advance * font.pointSize, font.pointSize * 1.25};
}

}  // namespace kv
