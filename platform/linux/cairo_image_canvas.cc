// SPDX-License-Identifier: MIT
#include "platform/linux/cairo_image_canvas.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "platform/linux/pango_font.h"

namespace kv {

struct CairoImageCanvas::Surface {
    cairo_surface_t* image = nullptr;
    cairo_t* cr = nullptr;
    GObjectPtr<PangoContext> text;

    ~Surface() {
        cairo_destroy(cr);
        cairo_surface_destroy(image);
    }
};

namespace {

int Pixels(double points, double scale) {
    return std::max(1, static_cast<int>(std::ceil(points * scale - 1e-6)));
}

void SetColor(cairo_t* cr, const Color& color) {
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
}

// `top` is the rectangle's top edge in Cairo's downward coordinates.
void RoundedPath(cairo_t* cr, const Rect& rect, double top, double radius) {
    const double r = std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2);
    const double left = rect.minX();
    const double right = rect.maxX();
    const double bottom = top + rect.height();
    cairo_new_sub_path(cr);
    cairo_arc(cr, right - r, top + r, r, -M_PI / 2, 0);
    cairo_arc(cr, right - r, bottom - r, r, 0, M_PI / 2);
    cairo_arc(cr, left + r, bottom - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, left + r, top + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// The line box the system font's first family gives `font`: where its baseline lies below the
// top, and how tall it is. A character every CJK face has stands for the family.
struct LineBox {
    double baseline = 0;
    double height = 0;
};

LineBox FirstFamilyLineBox(PangoContext* context, const Font& font) {
    const GObjectPtr<PangoLayout> layout = PangoLayoutFor(context, "中", font);
    PangoRectangle logical{};
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    return {static_cast<double>(pango_layout_get_baseline(layout.get())) / PANGO_SCALE,
            static_cast<double>(logical.height) / PANGO_SCALE};
}

}  // namespace

CairoImageCanvas::CairoImageCanvas(Size size, double scale)
    : _surface(std::make_unique<Surface>()), _height(size.height) {
    _surface->image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Pixels(size.width, scale),
                                                 Pixels(size.height, scale));
    _surface->cr = cairo_create(_surface->image);
    cairo_scale(_surface->cr, scale, scale);
    _surface->text.reset(pango_cairo_create_context(_surface->cr));
    UsePlainMetrics(_surface->text.get());
}

CairoImageCanvas::~CairoImageCanvas() = default;

cairo_surface_t* CairoImageCanvas::surface() const {
    return _surface->image;
}

int CairoImageCanvas::pixelWidth() const {
    return cairo_image_surface_get_width(_surface->image);
}

int CairoImageCanvas::pixelHeight() const {
    return cairo_image_surface_get_height(_surface->image);
}

bool CairoImageCanvas::writePNG(const std::string& path) const {
    cairo_surface_flush(_surface->image);
    return cairo_surface_write_to_png(_surface->image, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void CairoImageCanvas::fillRect(const Rect& rect, const Color& color) {
    fillRoundedRect(rect, 0, color);
}

void CairoImageCanvas::fillRoundedRect(const Rect& rect, double radius, const Color& color) {
    cairo_t* cr = _surface->cr;
    RoundedPath(cr, rect, _height - rect.maxY(), radius);
    SetColor(cr, color);
    cairo_fill(cr);
}

void CairoImageCanvas::strokeRoundedRect(const Rect& rect, double radius, double lineWidth,
                                         const Color& color) {
    cairo_t* cr = _surface->cr;
    RoundedPath(cr, rect, _height - rect.maxY(), radius);
    SetColor(cr, color);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
}

void CairoImageCanvas::drawTextAtPoint(std::string_view text, Point lowerLeft, const Font& font,
                                       const Color& color) {
    const GObjectPtr<PangoLayout> layout = PangoLayoutFor(_surface->text.get(), text, font);
    int width = 0;
    int height = 0;
    pango_layout_get_size(layout.get(), &width, &height);
    const double top = _height - lowerLeft.y - static_cast<double>(height) / PANGO_SCALE;
    cairo_t* cr = _surface->cr;
    SetColor(cr, color);
    cairo_move_to(cr, lowerLeft.x, top);
    pango_cairo_show_layout(cr, layout.get());
}

void CairoImageCanvas::drawTextInRect(std::string_view text, const Rect& rect,
                                      const TextStyle& style) {
    const GObjectPtr<PangoLayout> layout = PangoLayoutFor(_surface->text.get(), text, style.font);
    if (style.truncateTail) {
        pango_layout_set_width(layout.get(), static_cast<int>(rect.width() * PANGO_SCALE));
        pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
    }
    PangoRectangle logical{};
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    const double used = static_cast<double>(logical.width) / PANGO_SCALE;
    double x = rect.minX();
    if (style.alignment == TextAlignment::Center) {
        x += (rect.width() - used) / 2;
    } else if (style.alignment == TextAlignment::Right) {
        x += rect.width() - used;
    }
    // The CJK face's line is taller than the system font's that the labels are sized for; a line
    // taller than its rectangle is centred on it, so it overflows evenly instead of sinking. A
    // character from a fallback face brings that face's line box, shorter and with its own
    // baseline: the line is placed by the first family's box, so every row shares one baseline.
    const LineBox box = FirstFamilyLineBox(_surface->text.get(), style.font);
    const double overflow = std::max(0.0, box.height - rect.height());
    const double baseline = _height - rect.maxY() - overflow / 2 + box.baseline;
    cairo_t* cr = _surface->cr;
    SetColor(cr, style.color);
    cairo_move_to(
        cr, x - static_cast<double>(logical.x) / PANGO_SCALE,
        baseline - static_cast<double>(pango_layout_get_baseline(layout.get())) / PANGO_SCALE);
    pango_cairo_show_layout(cr, layout.get());
}

}  // namespace kv
