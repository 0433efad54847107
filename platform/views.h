// SPDX-License-Identifier: MIT
// The views of a panel as records: frames, layers, label text, button titles, slider values. The
// logic above fills them; a panel body paints them (platform/view_painter.h) and forwards clicks.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/font.h"
#include "platform/geometry.h"

namespace kv {

// What is painted behind a view and around its edge; the border lies inside the bounds.
struct Layer {
    Color backgroundColor = Color::clear();
    Color borderColor = Color::clear();
    double borderWidth = 0;
    double cornerRadius = 0;
};

class View;

// The frontmost view under a point, and the point in that view's own coordinates.
struct HitResult {
    View* view = nullptr;
    Point local;
};

class View {
  public:
    enum class Kind { Plain, Label, Button, Slider };

    View() = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    virtual ~View() = default;

    virtual Kind kind() const { return Kind::Plain; }

    Rect bounds() const { return {0, 0, frame.width(), frame.height()}; }
    // Puts `view` above the present subviews. Not owned: it must live as long as this view.
    void addSubview(View& view);
    const std::vector<View*>& subviews() const { return _subviews; }
    // `point` is in the superview's coordinates (the frame's). Hidden views and their subviews
    // are never hit; later subviews lie above earlier ones.
    HitResult hitTest(Point point);

    Rect frame;  // in the superview's coordinates
    bool hidden = false;
    Layer layer;

  private:
    std::vector<View*> _subviews;
};

// One line of text that the user cannot edit.
class Label final : public View {
  public:
    Kind kind() const override { return Kind::Label; }

    std::string text;
    Color textColor{0, 0, 0, 1};
    Font font;
    TextAlignment alignment = TextAlignment::Left;
    // Text wider than the label ends in an ellipsis.
    bool truncatesTail = false;
};

// A view that answers the user's presses by running its action.
class Control : public View {
  public:
    // A press of the primary button at `point` (own coordinates). A disabled control ignores it.
    virtual void mouseDown(Point point) = 0;
    // The pointer moved with the button still held after a press on this control.
    virtual void mouseDragged(Point) {}

    bool enabled = true;
    std::function<void()> action;
};

// A title drawn in its own colour and font instead of the button's.
struct AttributedTitle {
    std::string text;
    Color color;
    Font font;
    bool operator==(const AttributedTitle&) const = default;
};

class Button final : public Control {
  public:
    Kind kind() const override { return Kind::Button; }
    void mouseDown(Point point) override;
    // Runs the action when the button is enabled.
    void performClick();

    // A plain title replaces an attributed one; an attributed title sets the plain text too.
    void setTitle(std::string_view title);
    void setAttributedTitle(AttributedTitle title);
    const std::string& title() const { return _title; }
    const std::optional<AttributedTitle>& attributedTitle() const { return _attributedTitle; }

    Font font;
    bool bordered = true;
    // Nothing of the button is painted; it only takes clicks.
    bool transparent = false;
    std::int64_t tag = 0;

  private:
    std::string _title;
    std::optional<AttributedTitle> _attributedTitle;
};

class Slider final : public Control {
  public:
    Kind kind() const override { return Kind::Slider; }
    // Moves the knob to the press and runs the action.
    void mouseDown(Point point) override;
    // A continuous slider follows the drag, running the action whenever the value changes.
    void mouseDragged(Point point) override;

    // Values outside the range are brought into it, as the range itself may shrink later.
    void setValue(double value) { _value = value; }
    double value() const;
    std::int64_t integerValue() const { return static_cast<std::int64_t>(value()); }

    // The knob's square in the slider's own coordinates, for painting.
    Rect knobRect() const;
    // The value whose knob centre lies nearest to `point` (own coordinates).
    double valueAtPoint(Point point) const;

    double minValue = 0;
    double maxValue = 1;
    bool vertical = false;
    bool continuous = true;
    int numberOfTickMarks = 0;
    bool allowsTickMarkValuesOnly = false;

  private:
    double fraction() const;
    double _value = 0;
};

}  // namespace kv
