// SPDX-License-Identifier: MIT
// The system font on Linux: a CJK face, sized in points taken as pixels, and plain metrics so
// that text measured once lays out the same at any scale.
#pragma once

#include <pango/pango.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/font.h"
#include "platform/linux/glib_ptr.h"

namespace kv {

struct PangoFontDescriptionFree {
    void operator()(PangoFontDescription* description) const {
        pango_font_description_free(description);
    }
};
using PangoFontDescriptionPtr = std::unique_ptr<PangoFontDescription, PangoFontDescriptionFree>;

// The faces of the system font, in the order a reader of Traditional Chinese expects them: the
// Traditional forms of Noto Sans CJK for the common characters, then the Chinese forms of
// BabelStone Han, then Hanazono (its A face the Basic Multilingual Plane, its B face the
// supplementary ideographs) for the rest of the table's rarest characters.
inline constexpr std::array<std::string_view, 4> kSystemFontFamilies{
    "Noto Sans CJK TC",
    "BabelStone Han",
    "HanaMinA",
    "HanaMinB",
};

// The families as one comma-separated list, as Pango and fontconfig take them.
std::string SystemFontFamilyList();

// The system font families at the font's size and weight; glyphs none of them has come from
// fontconfig's fallbacks.
PangoFontDescriptionPtr PangoFontFor(const Font& font);

// Turns off hinting of metrics and outlines in `context`, so widths scale linearly.
void UsePlainMetrics(PangoContext* context);

// A layout of `text` in `font`, in the given context, with tabular figures when the font asks
// for monospaced digits.
GObjectPtr<PangoLayout> PangoLayoutFor(PangoContext* context, std::string_view text,
                                       const Font& font);

}  // namespace kv
