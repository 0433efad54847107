// SPDX-License-Identifier: MIT
// The system font at a size and weight; the body picks the face (a CJK one on Linux).
#pragma once

namespace kv {

enum class FontWeight { Regular, Medium, Semibold, Bold };

struct Font {
    double pointSize = 13;
    FontWeight weight = FontWeight::Regular;
    // Every digit as wide as the others, so a changing number keeps its width.
    bool monospacedDigits = false;

    static constexpr Font system(double size, FontWeight w = FontWeight::Regular) {
        return {size, w, false};
    }
    static constexpr Font monospacedDigitSystem(double size, FontWeight w = FontWeight::Regular) {
        return {size, w, true};
    }
    bool operator==(const Font&) const = default;
};

}  // namespace kv
