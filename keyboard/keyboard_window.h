// SPDX-License-Identifier: MIT
// The process-wide on-screen keyboard: a floating panel holding the keyboard view, the user's
// wish to see it kept apart from whether it is on screen, and a notification per clicked key.
#pragma once

#include <string_view>

#include "keyboard/keyboard_view.h"
#include "platform/panel.h"

namespace kv {

// Posted on defaultCenter() once per click on a key or control; the object is the key token.
inline constexpr std::string_view KVKeyboardKeyPressedNotification =
    "KVKeyboardKeyPressedNotification";
// Posted on defaultCenter() when the user closed the keyboard with its close control; no object.
inline constexpr std::string_view KVKeyboardWindowDidCloseNotification =
    "KVKeyboardWindowDidCloseNotification";

class KVKeyboardWindow {
  public:
    // The one instance, made on the first call and kept until the process ends.
    static KVKeyboardWindow& sharedWindow();

    // Builds the panel (centred, hidden) and its view; tests make their own instances.
    KVKeyboardWindow();
    KVKeyboardWindow(const KVKeyboardWindow&) = delete;
    KVKeyboardWindow& operator=(const KVKeyboardWindow&) = delete;

    // Shows the keyboard if it is not on screen, hides it if it is; the wish follows.
    void toggleWindow();
    // What the close control does: hides the keyboard and drops the wish to see it.
    void closeWindow();
    // Hides the keyboard while no input session has focus; the wish is kept.
    void hideForFocusLoss();
    // Shows the keyboard again (repainted, in front) if the user wishes to see it.
    void restoreAfterFocus();

    bool requestedVisible() const { return _requestedVisible; }
    const Panel& panel() const { return _panel; }
    Panel& panel() { return _panel; }
    const KVKeyboardView& keyboardView() const { return _keyboardView; }

  private:
    void showPanel();

    Panel _panel;
    bool _requestedVisible = false;
    KVKeyboardView _keyboardView;
};

}  // namespace kv
