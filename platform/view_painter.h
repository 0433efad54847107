// SPDX-License-Identifier: MIT
// Paints a tree of view records through a Canvas, back to front, as a panel body shows them.
#pragma once

#include "platform/canvas.h"
#include "platform/views.h"

namespace kv {

// `root`'s frame is taken in the canvas's coordinates (a panel's content view sits at 0, 0).
// Hidden views and everything inside them are skipped. Subviews are not clipped to their parent.
void PaintViewTree(const View& root, Canvas& canvas);

}  // namespace kv
