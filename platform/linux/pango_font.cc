// SPDX-License-Identifier: MIT
#include "platform/linux/pango_font.h"

#include <glib-object.h>
#include <pango/pangocairo.h>

namespace kv {

namespace {

PangoWeight WeightOf(FontWeight weight) {
    switch (weight) {
        case FontWeight::Medium:
            return PANGO_WEIGHT_MEDIUM;
        case FontWeight::Semibold:
            return PANGO_WEIGHT_SEMIBOLD;
        case FontWeight::Bold:
            return PANGO_WEIGHT_BOLD;
        case FontWeight::Regular:
            break;
    }
    return PANGO_WEIGHT_NORMAL;
}

}  // namespace

std::string SystemFontFamilyList() {
    std::string list;
    for (const std::string_view family : kSystemFontFamilies) {
        if (!list.empty()) {
            list += ',';
        }
        list += family;
    }
    return list;
}

PangoFontDescriptionPtr PangoFontFor(const Font& font) {
    static const std::string families = SystemFontFamilyList();
    PangoFontDescriptionPtr description(pango_font_description_new());
    pango_font_description_set_family(description.get(), families.c_str());
    pango_font_description_set_weight(description.get(), WeightOf(font.weight));
    // One point is one device unit before any scaling, as in the rest of the geometry.
    pango_font_description_set_absolute_size(description.get(), font.pointSize * PANGO_SCALE);
    return description;
}

void UsePlainMetrics(PangoContext* context) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
}

GObjectPtr<PangoLayout> PangoLayoutFor(PangoContext* context, std::string_view text,
                                       const Font& font) {
    GObjectPtr<PangoLayout> layout(pango_layout_new(context));
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
    const PangoFontDescriptionPtr description = PangoFontFor(font);
    pango_layout_set_font_description(layout.get(), description.get());
    if (font.monospacedDigits) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_font_features_new("tnum"));
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }
    return layout;
}

}  // namespace kv
