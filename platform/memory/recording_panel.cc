// SPDX-License-Identifier: MIT
#include "platform/memory/recording_panel.h"

namespace kv {

void RecordingCanvas::fillRect(const Rect& rect, const Color& color) {
    commands.push_back({DrawCommand::Kind::FillRect, rect, 0, 0, color, {}, {}});
}

void RecordingCanvas::fillRoundedRect(const Rect& rect, double radius, const Color& color) {
    commands.push_back({DrawCommand::Kind::FillRoundedRect, rect, radius, 0, color, {}, {}});
}

void RecordingCanvas::strokeRoundedRect(const Rect& rect, double radius, double lineWidth,
                                        const Color& color) {
    commands.push_back(
        {DrawCommand::Kind::StrokeRoundedRect, rect, radius, lineWidth, color, {}, {}});
}

void RecordingCanvas::drawTextAtPoint(std::string_view text, Point lowerLeft, const Font& font,
                                      const Color& color) {
    const Size size = textMeasurer().sizeOf(text, font);
    commands.push_back({DrawCommand::Kind::TextAtPoint, Rect(lowerLeft, size), 0, 0, color,
                        std::string(text), TextStyle{font, color}});
}

void RecordingCanvas::drawTextInRect(std::string_view text, const Rect& rect,
                                     const TextStyle& style) {
    commands.push_back(
        {DrawCommand::Kind::TextInRect, rect, 0, 0, style.color, std::string(text), style});
}

}  // namespace kv
