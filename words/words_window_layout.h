// SPDX-License-Identifier: MIT
// The words window's texts, frames and how each control follows a resize. Frames are in points,
// origin at the bottom-left of the content area; a body converts them to its toolkit's
// coordinates.
#pragma once

#include <string_view>

#include "platform/geometry.h"

namespace kv::WordsLayout {

// How a control follows the window when the user resizes it. By default a control keeps its
// distance to the bottom-left corner. The controls above the list keep theirs to the top edge,
// so that the list, growing with the height, never slides under them.
struct Resizing {
    bool stretchWidth = false;   // keeps both side margins, grows with the width
    bool stretchHeight = false;  // keeps the top and bottom margins, grows with the height
    bool keepRight = false;      // keeps its distance to the right edge
    bool keepTop = false;        // keeps its distance to the top edge
};

inline constexpr Resizing kFixed{};
inline constexpr Resizing kTop{false, false, false, true};
inline constexpr Resizing kTopStretchWidth{true, false, false, true};
inline constexpr Resizing kTopRight{false, false, true, true};
inline constexpr Resizing kStretchWidth{true, false, false, false};
inline constexpr Resizing kStretchBoth{true, true, false, false};

struct Control {
    std::string_view text;
    Rect frame;
    Resizing resizing;
};

inline constexpr std::string_view kTitle = "澄雀輸入法-雲階　自建詞組";
inline constexpr Size kContentSize{760, 560};
inline constexpr Size kMinimumSize{620, 460};

inline constexpr Control kHeading{"自建詞組", {28, 500, 300, 42}, kTop};
inline constexpr double kHeadingSize = 30;  // light weight
// The text is the file's path, in a monospaced face in the secondary colour.
inline constexpr Control kPath{"", {30, 466, 700, 22}, kTopStretchWidth};
inline constexpr double kPathSize = 12;
inline constexpr Control kCodeCaption{"字碼（1～6 碼）", {30, 425, 210, 22}, kTop};
inline constexpr Control kPhraseCaption{"詞組", {258, 425, 300, 22}, kTop};
// Fields: the text is the placeholder.
inline constexpr Control kCodeField{"例如 abc", {30, 390, 210, 30}, kTop};
inline constexpr Control kPhraseField{"要加入的文字或詞組", {258, 390, 350, 30}, kTopStretchWidth};
inline constexpr Control kAddButton{"加入詞庫", {622, 388, 108, 34}, kTopRight};
inline constexpr Control kEntryList{"", {30, 92, 700, 280}, kStretchBoth};
inline constexpr Control kOpenButton{"開啟純文字檔", {30, 42, 128, 32}, kFixed};
inline constexpr Control kReloadButton{"重新讀取", {168, 42, 108, 32}, kFixed};
// The status line starts empty, in the secondary colour.
inline constexpr Control kStatus{"", {292, 46, 438, 22}, kStretchWidth};

// The entry list's two columns.
struct Column {
    std::string_view identifier;
    std::string_view title;
    double width;
};
inline constexpr Column kCodeColumn{"code", "字碼", 180};
inline constexpr Column kPhraseColumn{"phrase", "詞組", 480};

// Where `control` lies in a content area of `size` (no smaller than kMinimumSize).
constexpr Rect ResizedFrame(const Control& control, Size size) {
    const double dw = size.width - kContentSize.width;
    const double dh = size.height - kContentSize.height;
    Rect frame = control.frame;
    if (control.resizing.stretchWidth) {
        frame.size.width += dw;
    } else if (control.resizing.keepRight) {
        frame.origin.x += dw;
    }
    if (control.resizing.stretchHeight) {
        frame.size.height += dh;
    } else if (control.resizing.keepTop) {
        frame.origin.y += dh;
    }
    return frame;
}

}  // namespace kv::WordsLayout
