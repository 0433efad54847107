// SPDX-License-Identifier: MIT
// Geometry and hit testing of the keyboard view; painting is in keyboard_view_drawing.cc.
#include "keyboard/keyboard_view.h"

#include <algorithm>

namespace kv {

namespace {

// Room above the keys for the top strip, and below them for the controls.
constexpr double kRowFloor = 40;
constexpr double kColumnFloor = 30;
constexpr double kVerticalChrome = 116;
constexpr double kMargin = 8;
constexpr double kSpaceShare = 0.74;
constexpr double kControlHeight = 68;
// The resize grip's column at the right of the controls, and its square in the corner.
constexpr double kGripColumn = 16;
constexpr double kGripSize = 22;

}  // namespace

KVKeyboardView::KVKeyboardView(const Rect& frame)
    : _rows(KVKeyboardRows), _rootNames(KVKeyboardRootNames()), _frame(frame) {}

double KVKeyboardView::rowPitch() const {
    return std::max((bounds().height() - kVerticalChrome) / 4, kRowFloor);
}

double KVKeyboardView::columnPitch() const {
    return std::max((bounds().width() - 2 * kMargin) / KVKeyboardColumns, kColumnFloor);
}

Rect KVKeyboardView::keyRectForRow(std::int64_t row, std::int64_t column) const {
    const double keys = static_cast<double>(_rows[static_cast<std::size_t>(row)].size());
    const double rowStep = rowPitch();
    const double columnStep = columnPitch();
    // Shorter rows are centred on the 13-column grid.
    const double x = kMargin + (KVKeyboardColumns - keys) * columnStep / 2 +
                     static_cast<double>(column) * columnStep;
    const double y = bounds().height() - 25 - static_cast<double>(row + 1) * rowStep;
    return {x, y, columnStep - 4, rowStep - 6};
}

Rect KVKeyboardView::spaceRect() const {
    return {kMargin, kMargin, kSpaceShare * bounds().width() - 12, kControlHeight};
}

Rect KVKeyboardView::backspaceRect() const {
    const double width = bounds().width();
    const double x = kSpaceShare * width;
    return {x, kMargin, width - x - kMargin - kGripColumn, kControlHeight};
}

Rect KVKeyboardView::resizeGripRect() const {
    return {bounds().width() - kGripSize, 0, kGripSize, kGripSize};
}

Rect KVKeyboardView::closeRect() const {
    return {bounds().width() - 34, bounds().height() - 24, 30, 22};
}

bool KVKeyboardView::sendKey(std::string_view token) const {
    if (_keyHandler) {
        _keyHandler(token);
    }
    return false;
}

bool KVKeyboardView::mouseDown(Point locationInWindow) {
    // The view fills the panel, so the window's coordinates are the view's.
    const Point point = locationInWindow;
    if (closeRect().contains(point)) {
        if (_closeHandler) {
            _closeHandler();
        }
        return false;
    }
    if (spaceRect().contains(point)) {
        return sendKey(KVKeyboardSpaceToken);
    }
    if (backspaceRect().contains(point)) {
        return sendKey(KVKeyboardBackspaceToken);
    }
    for (std::size_t row = 0; row < _rows.size(); ++row) {
        const std::string_view keys = _rows[row];
        for (std::size_t column = 0; column < keys.size(); ++column) {
            const auto r = static_cast<std::int64_t>(row);
            const auto c = static_cast<std::int64_t>(column);
            if (keyRectForRow(r, c).contains(point)) {
                return sendKey(keys.substr(column, 1));
            }
        }
    }
    // Margins, the top strip and the gaps between keys move the panel.
    return true;
}

}  // namespace kv
