// SPDX-License-Identifier: MIT
// The display's monitors from GDK, and the conversion between GDK's root coordinates (origin at
// the top-left, y downward) and the stand-in's (origin at the bottom-left, y upward).
#pragma once

#include <optional>
#include <vector>

#include "platform/geometry.h"
#include "platform/screens.h"

namespace kv {

// The height of the area the monitors span, in GDK's logical pixels (points); 0 without display.
double RootHeight();

// Flips a rectangle between the two systems; the same formula goes both ways.
Rect FlipRootRect(const Rect& rect, double rootHeight);

class GdkScreens final : public Screens {
  public:
    std::vector<Screen> screens() const override;
    // The monitor under the pointer, which is where the user is typing; the primary otherwise.
    std::optional<Screen> mainScreen() const override;
};

}  // namespace kv
