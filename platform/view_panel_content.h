// SPDX-License-Identifier: MIT
// A panel's content made of view records: painted with PaintViewTree, clicks sent to controls.
#pragma once

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

  private:
    View& _root;
};

}  // namespace kv
