// SPDX-License-Identifier: MIT
#include "platform/view_panel_content.h"

#include "platform/view_painter.h"

namespace kv {

void ViewPanelContent::draw(Canvas& canvas, const Rect&) const {
    PaintViewTree(_root, canvas);
}

bool ViewPanelContent::mouseDown(Point point) {
    const HitResult hit = _root.hitTest(point);
    if (!hit.view) {
        return true;
    }
    const View::Kind kind = hit.view->kind();
    if (kind == View::Kind::Button || kind == View::Kind::Slider) {
        static_cast<Control*>(hit.view)->mouseDown(hit.local);
        return false;
    }
    return true;
}

}  // namespace kv
