// SPDX-License-Identifier: MIT
#include "platform/views.h"

#include <algorithm>

namespace kv {

void View::addSubview(View& view) {
    _subviews.push_back(&view);
}

HitResult View::hitTest(Point point) {
    if (hidden || !frame.contains(point)) {
        return {};
    }
    const Point local{point.x - frame.minX(), point.y - frame.minY()};
    for (auto it = _subviews.rbegin(); it != _subviews.rend(); ++it) {
        const HitResult hit = (*it)->hitTest(local);
        if (hit.view) {
            return hit;
        }
    }
    return {this, local};
}

void Button::mouseDown(Point) {
    performClick();
}

void Button::performClick() {
    if (enabled && action) {
        action();
    }
}

void Button::setTitle(std::string_view title) {
    _title = std::string(title);
    _attributedTitle.reset();
}

void Button::setAttributedTitle(AttributedTitle title) {
    _title = title.text;
    _attributedTitle = std::move(title);
}

void Slider::mouseDown(Point point) {
    if (!enabled) {
        return;
    }
    setValue(valueAtPoint(point));
    if (action) {
        action();
    }
}

void Slider::mouseDragged(Point point) {
    if (!enabled || !continuous) {
        return;
    }
    const double before = value();
    setValue(valueAtPoint(point));
    if (value() != before && action) {
        action();
    }
}

double Slider::value() const {
    return std::clamp(_value, minValue, std::max(minValue, maxValue));
}

double Slider::fraction() const {
    const double range = maxValue - minValue;
    return range > 0 ? (value() - minValue) / range : 0;
}

Rect Slider::knobRect() const {
    const double knob = std::min(frame.width(), frame.height());
    if (vertical) {
        const double travel = frame.height() - knob;
        return {(frame.width() - knob) / 2, fraction() * travel, knob, knob};
    }
    const double travel = frame.width() - knob;
    return {fraction() * travel, (frame.height() - knob) / 2, knob, knob};
}

double Slider::valueAtPoint(Point point) const {
    const double knob = std::min(frame.width(), frame.height());
    const double travel = (vertical ? frame.height() : frame.width()) - knob;
    if (travel <= 0) {
        return minValue;
    }
    const double along = (vertical ? point.y : point.x) - knob / 2;
    const double share = std::clamp(along / travel, 0.0, 1.0);
    return minValue + share * (maxValue - minValue);
}

}  // namespace kv
