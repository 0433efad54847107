// SPDX-License-Identifier: MIT
// Text measured with Pango in the CJK system font, as the Cairo canvas draws it.
#pragma once

#include <pango/pango.h>

#include "platform/linux/pango_font.h"
#include "platform/text_measurer.h"

namespace kv {

class PangoTextMeasurer final : public TextMeasurer {
  public:
    PangoTextMeasurer();
    // The width of the whole run and the height of its line, in points.
    Size sizeOf(std::string_view text, const Font& font) const override;

  private:
    GObjectPtr<PangoContext> _context;
};

}  // namespace kv
