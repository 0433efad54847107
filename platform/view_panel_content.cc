// SPDX-License-Identifier: MIT
#include "platform/view_panel_content.h"

#include "platform/view_painter.h"

namespace kv {

void ViewPanelContent::draw(Canvas& canvas, const Rect&) const {
    PaintViewTree(_root, canvas);
}

bool ViewPanelContent::mouseDown(Point point) {
    _tracked = nullptr;
    const HitResult hit = _root.hitTest(point);
    if (!hit.view) {
        return true;
    }
    const View::Kind kind = hit.view->kind();
    if (kind == View::Kind::Button || kind == View::Kind::Slider) {
        auto* const control = static_cast<Control*>(hit.view);
        _tracked = control;
        _trackedOrigin = {point.x - hit.local.x, point.y - hit.local.y};
        control->mouseDown(hit.local);
        return false;
    }
    return true;
}

void ViewPanelContent::mouseDragged(Point point) {
    if (_tracked != nullptr) {
        _tracked->mouseDragged({point.x - _trackedOrigin.x, point.y - _trackedOrigin.y});
    }
}

void ViewPanelContent::mouseUp(Point) {
    _tracked = nullptr;
}

void ViewPanelContent::scrollWheel(Point, double deltaY) {
    if (wheel) {
        wheel(deltaY);
    }
}

}  // namespace kv
