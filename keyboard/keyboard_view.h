// SPDX-License-Identifier: MIT
// The on-screen keyboard's view: key and control rectangles from the current size, the hit test
// of a click, and the painting of keys, controls and the themed frame.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "keyboard/keyboard_layout.h"
#include "platform/accessible_element.h"
#include "platform/canvas.h"
#include "platform/geometry.h"
#include "platform/panel.h"

namespace kv {

// The tokens of the two wide controls; a key's token is its own one-character string.
inline constexpr std::string_view KVKeyboardSpaceToken = "__space__";
inline constexpr std::string_view KVKeyboardBackspaceToken = "__backspace__";

class KVKeyboardView final : public PanelContent {
  public:
    using KeyHandler = std::function<void(std::string_view token)>;
    using CloseHandler = std::function<void()>;

    // Both callbacks start unset.
    explicit KVKeyboardView(const Rect& frame);

    // The view's own coordinates: origin (0, 0) at the bottom-left, y upward.
    Rect bounds() const { return {{0, 0}, _frame.size}; }
    const Rect& frame() const { return _frame; }
    // Keys and controls grow and shrink with the view; nothing else needs to change.
    void setFrameSize(Size size) { _frame.size = size; }

    // Callers pass valid indices: row 0 to 3, column within that row's keys.
    Rect keyRectForRow(std::int64_t row, std::int64_t column) const;
    Rect spaceRect() const;
    Rect backspaceRect() const;
    Rect closeRect() const;
    // The bottom-right corner that resizes the panel, right of the backspace control.
    Rect resizeGripRect() const;

    // Runs the hit test; true asks the panel to start a window drag (nothing was hit).
    bool mouseDown(Point locationInWindow) override;
    bool resizesAt(Point point) const override { return resizeGripRect().contains(point); }

    void draw(Canvas& canvas, const Rect& dirtyRect) const override { drawRect(canvas, dirtyRect); }
    // Repaints the whole view whatever the rectangle.
    void drawRect(Canvas& canvas, const Rect& dirtyRect) const;
    void drawKey(Canvas& canvas, const Rect& keyRect, std::string_view key, std::string_view root,
                 std::int64_t row, std::int64_t column) const;
    void drawControl(Canvas& canvas, const Rect& rect, std::string_view title) const;
    void drawResizeGrip(Canvas& canvas, const Color& color) const;

    // The keys, the two controls, the close box and the resize grip as a screen reader reads
    // them: a key by its label and its root ("A 日"), a control by its title; a press of one
    // does what a click does.
    std::vector<AccessibleElement> accessibleElements() const;

    const KeyHandler& keyHandler() const { return _keyHandler; }
    void setKeyHandler(KeyHandler handler) { _keyHandler = std::move(handler); }
    const CloseHandler& closeHandler() const { return _closeHandler; }
    void setCloseHandler(CloseHandler handler) { _closeHandler = std::move(handler); }

  private:
    double rowPitch() const;
    double columnPitch() const;
    // Calls the key callback if one is set; a click that hits something never drags.
    bool sendKey(std::string_view token) const;

    const std::array<std::string_view, 4>& _rows;
    const KVKeyboardRootMap& _rootNames;
    KeyHandler _keyHandler;
    CloseHandler _closeHandler;
    Rect _frame;
};

}  // namespace kv
