// SPDX-License-Identifier: MIT
#include "platform/view_painter.h"

#include <algorithm>

#include "platform/services.h"

namespace kv {

namespace {

// The look of the standard controls where the records leave it open.
constexpr Color kControlText{0, 0, 0, 1};
constexpr Color kBezelFill{1, 1, 1, 1};
constexpr Color kBezelEdge{0, 0, 0, 0.25};
constexpr Color kSliderTrack{0.5, 0.5, 0.5, 0.55};
constexpr Color kSliderKnob{0.96, 0.96, 0.96, 1};
constexpr Color kSliderKnobEdge{0, 0, 0, 0.35};
constexpr double kBezelRadius = 5;
constexpr double kTrackWidth = 4;

bool Visible(const Color& color) {
    return color.alpha > 0;
}

Color Dimmed(Color color) {
    color.alpha *= 0.5;
    return color;
}

void PaintLayer(const Layer& layer, const Rect& frame, Canvas& canvas) {
    if (Visible(layer.backgroundColor)) {
        canvas.fillRoundedRect(frame, layer.cornerRadius, layer.backgroundColor);
    }
    if (layer.borderWidth > 0 && Visible(layer.borderColor)) {
        const double half = layer.borderWidth / 2;
        canvas.strokeRoundedRect(frame.insetBy(half, half),
                                 std::max(0.0, layer.cornerRadius - half), layer.borderWidth,
                                 layer.borderColor);
    }
}

void PaintLabel(const Label& label, const Rect& frame, Canvas& canvas) {
    if (label.text.empty()) {
        return;
    }
    canvas.drawTextInRect(label.text, frame,
                          {label.font, label.textColor, label.alignment, label.truncatesTail});
}

// The title is centred both ways, as a push button centres its one line.
void PaintButton(const Button& button, const Rect& frame, Canvas& canvas) {
    if (button.transparent) {
        return;
    }
    if (button.bordered) {
        canvas.fillRoundedRect(frame, kBezelRadius, kBezelFill);
        canvas.strokeRoundedRect(frame.insetBy(0.5, 0.5), kBezelRadius, 1, kBezelEdge);
    }
    const auto& attributed = button.attributedTitle();
    const std::string& text = attributed ? attributed->text : button.title();
    if (text.empty()) {
        return;
    }
    const Font font = attributed ? attributed->font : button.font;
    Color color = attributed ? attributed->color : kControlText;
    if (!button.enabled) {
        color = Dimmed(color);
    }
    const double height = textMeasurer().sizeOf(text, font).height;
    const Rect line(frame.minX(), frame.midY() - height / 2, frame.width(), height);
    canvas.drawTextInRect(text, line, {font, color, TextAlignment::Center, true});
}

void PaintSlider(const Slider& slider, const Rect& frame, Canvas& canvas) {
    const Rect knob = slider.knobRect().offsetBy(frame.minX(), frame.minY());
    const double inset = knob.width() / 2;
    const Rect track = slider.vertical
                           ? Rect(frame.midX() - kTrackWidth / 2, frame.minY() + inset, kTrackWidth,
                                  std::max(0.0, frame.height() - 2 * inset))
                           : Rect(frame.minX() + inset, frame.midY() - kTrackWidth / 2,
                                  std::max(0.0, frame.width() - 2 * inset), kTrackWidth);
    canvas.fillRoundedRect(track, kTrackWidth / 2, kSliderTrack);
    const Color fill = slider.enabled ? kSliderKnob : Dimmed(kSliderKnob);
    const Rect disc = knob.insetBy(1, 1);
    canvas.fillRoundedRect(disc, disc.width() / 2, fill);
    canvas.strokeRoundedRect(disc, disc.width() / 2, 1, kSliderKnobEdge);
}

void PaintView(const View& view, Point origin, Canvas& canvas) {
    if (view.hidden) {
        return;
    }
    const Rect frame = view.frame.offsetBy(origin.x, origin.y);
    PaintLayer(view.layer, frame, canvas);
    switch (view.kind()) {
        case View::Kind::Label:
            PaintLabel(static_cast<const Label&>(view), frame, canvas);
            break;
        case View::Kind::Button:
            PaintButton(static_cast<const Button&>(view), frame, canvas);
            break;
        case View::Kind::Slider:
            PaintSlider(static_cast<const Slider&>(view), frame, canvas);
            break;
        case View::Kind::Plain:
            break;
    }
    for (const View* subview : view.subviews()) {
        PaintView(*subview, frame.origin, canvas);
    }
}

}  // namespace

void PaintViewTree(const View& root, Canvas& canvas) {
    PaintView(root, {0, 0}, canvas);
}

}  // namespace kv
