// SPDX-License-Identifier: MIT
// The system font at a size and weight; the body picks the face (a CJK one on Linux).
#pragma once

namespace kv {

enum class FontWeight { Regular, Medium, Semibold, Bold };

struct Font {
    double pointSize = 13;
    FontWeight weight = FontWeight::Regular;

    static constexpr Font system(double size, FontWeight w = FontWeight::Regular) {
        return {size, w};
    }
    bool operator==(const Font&) const = default;
};

}  // namespace kv
