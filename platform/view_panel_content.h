// SPDX-License-Identifier: MIT
// A panel's content made of view records: painted with PaintViewTree, clicks sent to controls.
#pragma once

#include <functional>

#include "platform/panel.h"
#include "platform/views.h"

namespace kv {

class ViewPanelContent final : public PanelContent {
  public:
    // `root` is the content view, at (0, 0) of the panel; it must outlive this object.
    explicit ViewPanelContent(View& root) : _root(root) {}

    void draw(Canvas& canvas, const Rect& bounds) const override;
    // A press on a control goes to the control; anywhere else the user may drag the panel.
    bool mouseDown(Point point) override;
    // A drag after a press on a control goes to that control, in its own coordinates.
    void mouseDragged(Point point) override;
    void mouseUp(Point point) override;
    void scrollWheel(Point point, double deltaY) override;

    // Hears the wheel turned anywhere over the content.
    std::function<void(double deltaY)> wheel;

  private:
    View& _root;
    Control* _tracked = nullptr;  // the control pressed, while the button is held
    Point _trackedOrigin;         // its origin in the content's coordinates
};

}  // namespace kv
