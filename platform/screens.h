// SPDX-License-Identifier: MIT
// The displays: each one's whole frame and the part free of panels and docks.
#pragma once

#include <optional>
#include <vector>

#include "platform/geometry.h"

namespace kv {

struct Screen {
    Rect frame;
    Rect visibleFrame;
};

class Screens {
  public:
    virtual ~Screens() = default;
    virtual std::vector<Screen> screens() const = 0;
    // The screen with the keyboard focus, or nothing when there is no display.
    virtual std::optional<Screen> mainScreen() const = 0;
};

}  // namespace kv
