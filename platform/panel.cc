// SPDX-License-Identifier: MIT
#include "platform/panel.h"

#include <algorithm>

#include "platform/services.h"

namespace kv {

Panel::Panel(Size contentSize) : _frame({0, 0}, contentSize) {
    _body = panelBodies().makeBody(*this);
}

void Panel::setFrameOrigin(Point origin) {
    _frame.origin = origin;
    changed();
    if (didMove) {
        didMove();
    }
}

void Panel::setContentSize(Size size) {
    size.width = std::max(size.width, minSize.width);
    size.height = std::max(size.height, minSize.height);
    // The top edge stays put, as a window keeps its top-left corner when it is resized.
    _frame.origin.y += _frame.size.height - size.height;
    _frame.size = size;
    if (didResize) {
        didResize();
    }
    changed();
}

void Panel::center() {
    const std::optional<Screen> main = screens().mainScreen();
    if (!main) {
        return;
    }
    const Rect& area = main->visibleFrame;
    setFrameOrigin({area.midX() - _frame.width() / 2, area.midY() - _frame.height() / 2});
}

void Panel::orderFront() {
    _visible = true;
    changed();
}

void Panel::orderOut() {
    _visible = false;
    changed();
}

void Panel::setNeedsDisplay() {
    changed();
}

void Panel::userDidMove(Point origin) {
    setFrameOrigin(origin);
}

void Panel::userDidResize(Size size) {
    setContentSize(size);
}

void Panel::userDidSetFrame(const Rect& frame) {
    const Size size{std::max(frame.width(), minSize.width),
                    std::max(frame.height(), minSize.height)};
    // A frame below the minimum grew downward from its top edge, as setContentSize grows it.
    const Rect kept({frame.minX(), frame.maxY() - size.height}, size);
    const bool resized = kept.size != _frame.size;
    const bool moved = kept.origin != _frame.origin;
    _frame = kept;
    if (resized && didResize) {
        didResize();
    }
    changed();
    if (moved && didMove) {
        didMove();
    }
}

void Panel::attachBody(std::unique_ptr<PanelBody> body) {
    _body = std::move(body);
    changed();
}

void Panel::changed() {
    if (_body) {
        _body->panelDidChange(*this);
    }
}

}  // namespace kv
