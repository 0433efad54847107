// SPDX-License-Identifier: MIT
// The system font on Linux: a CJK face, sized in points taken as pixels, and plain metrics so
// that text measured once lays out the same at any scale.
#pragma once

#include <pango/pango.h>

#include <memory>
#include <string_view>

#include "platform/font.h"

namespace kv {

struct PangoFontDescriptionFree {
    void operator()(PangoFontDescription* description) const {
        pango_font_description_free(description);
    }
};
using PangoFontDescriptionPtr = std::unique_ptr<PangoFontDescription, PangoFontDescriptionFree>;

struct GObjectUnref {
    void operator()(void* object) const;
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// "Noto Sans CJK TC" at the font's size and weight; glyphs it lacks come from fontconfig's
// fallbacks.
PangoFontDescriptionPtr PangoFontFor(const Font& font);

// Turns off hinting of metrics and outlines in `context`, so widths scale linearly.
void UsePlainMetrics(PangoContext* context);

// A layout of `text` in `font`, in the given context.
GObjectPtr<PangoLayout> PangoLayoutFor(PangoContext* context, std::string_view text,
                                       const Font& font);

}  // namespace kv
