// SPDX-License-Identifier: MIT
// Small helpers shared by the keyboard suites: clicking a view and remembering what it sent.
#pragma once

#include <string>
#include <vector>

#include "keyboard/keyboard_view.h"
#include "platform/geometry.h"

namespace kv::test {

inline Point Centre(const Rect& rect) {
    return {rect.midX(), rect.midY()};
}

// A view whose callbacks record every token and every close.
struct RecordingKeyboard {
    explicit RecordingKeyboard(Size size) : view(Rect({0, 0}, size)) {
        view.setKeyHandler([this](std::string_view token) { tokens.emplace_back(token); });
        view.setCloseHandler([this] { ++closes; });
    }
    RecordingKeyboard(const RecordingKeyboard&) = delete;
    RecordingKeyboard& operator=(const RecordingKeyboard&) = delete;

    // What a click at `point` did: the tokens it sent and whether it started a drag.
    struct Outcome {
        std::vector<std::string> tokens;
        int closes = 0;
        bool drag = false;
    };
    Outcome click(Point point) {
        tokens.clear();
        closes = 0;
        const bool drag = view.mouseDown(point);
        return {tokens, closes, drag};
    }

    KVKeyboardView view;
    std::vector<std::string> tokens;
    int closes = 0;
};

}  // namespace kv::test
