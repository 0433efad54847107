// SPDX-License-Identifier: MIT
// A Canvas that paints into an image in memory with Cairo and Pango, for panel bodies and PNGs.
#pragma once

#include <memory>
#include <string>

#include "platform/canvas.h"

using cairo_surface_t = struct _cairo_surface;

namespace kv {

class CairoImageCanvas final : public Canvas {
  public:
    // A transparent image of `size` points at `scale` pixels per point (whole pixels, rounded up).
    CairoImageCanvas(Size size, double scale);
    ~CairoImageCanvas() override;
    CairoImageCanvas(const CairoImageCanvas&) = delete;
    CairoImageCanvas& operator=(const CairoImageCanvas&) = delete;

    void fillRect(const Rect& rect, const Color& color) override;
    void fillRoundedRect(const Rect& rect, double radius, const Color& color) override;
    void strokeRoundedRect(const Rect& rect, double radius, double lineWidth,
                           const Color& color) override;
    void drawTextAtPoint(std::string_view text, Point lowerLeft, const Font& font,
                         const Color& color) override;
    void drawTextInRect(std::string_view text, const Rect& rect, const TextStyle& style) override;

    int pixelWidth() const;
    int pixelHeight() const;
    // False when the file cannot be written.
    bool writePNG(const std::string& path) const;
    // The image, for a window body that copies it onto the screen.
    cairo_surface_t* surface() const;

  private:
    struct Surface;
    std::unique_ptr<Surface> _surface;
    double _height;  // in points; Cairo counts y downward from the top
};

}  // namespace kv
