// SPDX-License-Identifier: MIT
// Panel bodies that keep every panel in memory, and a canvas that records what is drawn.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/panel.h"
#include "platform/services.h"

namespace kv {

class RecordingPanelBody final : public PanelBody {
  public:
    void panelDidChange(const Panel&) override { ++changes; }
    int changes = 0;
};

class RecordingPanelBodies final : public PanelBodies {
  public:
    std::unique_ptr<PanelBody> makeBody(Panel& panel) override {
        panels.push_back(&panel);
        return std::make_unique<RecordingPanelBody>();
    }
    std::vector<Panel*> panels;  // every panel made while installed, in order
};

struct DrawCommand {
    enum class Kind { FillRect, FillRoundedRect, StrokeRoundedRect, TextAtPoint, TextInRect };
    Kind kind;
    Rect rect;  // for text at a point: the point as origin, the measured size
    double radius = 0;
    double lineWidth = 0;
    Color color;
    std::string text;
    TextStyle style;
};

class RecordingCanvas final : public Canvas {
  public:
    void fillRect(const Rect& rect, const Color& color) override;
    void fillRoundedRect(const Rect& rect, double radius, const Color& color) override;
    void strokeRoundedRect(const Rect& rect, double radius, double lineWidth,
                           const Color& color) override;
    void drawTextAtPoint(std::string_view text, Point lowerLeft, const Font& font,
                         const Color& color) override;
    void drawTextInRect(std::string_view text, const Rect& rect, const TextStyle& style) override;

    std::vector<DrawCommand> commands;
};

}  // namespace kv
