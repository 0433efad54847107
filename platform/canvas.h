// SPDX-License-Identifier: MIT
// Custom drawing into a view, in the view's coordinates (origin bottom-left, y upward).
#pragma once

#include <string_view>

#include "platform/color.h"
#include "platform/font.h"
#include "platform/geometry.h"

namespace kv {

enum class TextAlignment { Left, Center, Right };

struct TextStyle {
    Font font;
    Color color;
    TextAlignment alignment = TextAlignment::Left;
    // Text wider than its rectangle ends in an ellipsis instead of running past it.
    bool truncateTail = false;
};

class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void fillRect(const Rect& rect, const Color& color) = 0;
    virtual void fillRoundedRect(const Rect& rect, double radius, const Color& color) = 0;
    // The line is centred on the rectangle's edge; radius 0 strokes a plain rectangle.
    virtual void strokeRoundedRect(const Rect& rect, double radius, double lineWidth,
                                   const Color& color) = 0;
    // `lowerLeft` is the lower-left corner of the text's box.
    virtual void drawTextAtPoint(std::string_view text, Point lowerLeft, const Font& font,
                                 const Color& color) = 0;
    // Laid out from the rectangle's top-left corner (or centred/right-aligned across its width).
    virtual void drawTextInRect(std::string_view text, const Rect& rect,
                                const TextStyle& style) = 0;
};

}  // namespace kv
