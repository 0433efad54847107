// SPDX-License-Identifier: MIT
#include "settings/theme.h"

namespace kv {

namespace {

constexpr Color RGB(int r, int g, int b) {
    return Color::fromRGB255(r, g, b);
}

}  // namespace

std::array<ThemeColors, KVThemePresetCount> KVPreferenceThemes() {
    // Background, text, muted, selection, selected text, border.
    return {{
        {RGB(11, 20, 34), RGB(235, 246, 255), RGB(145, 173, 191), RGB(13, 112, 147),
         RGB(255, 255, 255), RGB(42, 71, 91)},
        {RGB(29, 23, 51), RGB(246, 239, 255), RGB(173, 157, 202), RGB(101, 72, 177),
         RGB(255, 255, 255), RGB(74, 58, 105)},
        {RGB(246, 250, 252), RGB(25, 48, 65), RGB(95, 119, 134), RGB(209, 235, 247),
         RGB(21, 49, 67), RGB(183, 211, 225)},
        {RGB(255, 249, 240), RGB(65, 52, 42), RGB(139, 117, 98), RGB(240, 213, 178),
         RGB(58, 43, 30), RGB(214, 187, 154)},
        {RGB(9, 38, 42), RGB(232, 255, 250), RGB(146, 194, 187), RGB(17, 112, 107),
         RGB(255, 255, 255), RGB(47, 91, 91)},
        {RGB(30, 34, 39), RGB(250, 248, 240), RGB(175, 176, 169), RGB(155, 104, 27),
         RGB(255, 251, 234), RGB(75, 72, 64)},
        {RGB(235, 246, 238), RGB(31, 66, 46), RGB(97, 128, 105), RGB(188, 224, 197),
         RGB(25, 73, 43), RGB(167, 203, 178)},
        {RGB(255, 245, 247), RGB(76, 42, 61), RGB(143, 101, 122), RGB(246, 204, 222),
         RGB(75, 35, 59), RGB(224, 184, 202)},
        {RGB(251, 249, 244), RGB(42, 45, 48), RGB(111, 116, 117), RGB(224, 230, 226),
         RGB(22, 57, 54), RGB(205, 213, 208)},
        {RGB(0, 0, 0), RGB(255, 255, 255), RGB(220, 220, 220), RGB(255, 221, 0), RGB(0, 0, 0),
         RGB(255, 255, 255)},
    }};
}

}  // namespace kv
