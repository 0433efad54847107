// SPDX-License-Identifier: MIT
#include "platform/linux/pango_text_measurer.h"

#include <pango/pangocairo.h>

namespace kv {

PangoTextMeasurer::PangoTextMeasurer()
    : _context(pango_font_map_create_context(pango_cairo_font_map_get_default())) {
    UsePlainMetrics(_context.get());
}

Size PangoTextMeasurer::sizeOf(std::string_view text, const Font& font) const {
    const GObjectPtr<PangoLayout> layout = PangoLayoutFor(_context.get(), text, font);
    int width = 0;
    int height = 0;
    pango_layout_get_size(layout.get(), &width, &height);
    return {static_cast<double>(width) / PANGO_SCALE, static_cast<double>(height) / PANGO_SCALE};
}

}  // namespace kv
