// SPDX-License-Identifier: MIT
// An sRGB colour with components from 0 to 1.
#pragma once

namespace kv {

struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static constexpr Color fromRGB255(int r, int g, int b) {
        return {r / 255.0, g / 255.0, b / 255.0, 1};
    }
    static constexpr Color clear() { return {0, 0, 0, 0}; }
    bool operator==(const Color&) const = default;
};

}  // namespace kv
