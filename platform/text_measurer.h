// SPDX-License-Identifier: MIT
// How large a string is when drawn in a font: its width and its line height.
#pragma once

#include <string_view>

#include "platform/font.h"
#include "platform/geometry.h"

namespace kv {

class TextMeasurer {
  public:
    virtual ~TextMeasurer() = default;
    virtual Size sizeOf(std::string_view text, const Font& font) const = 0;
};

}  // namespace kv
