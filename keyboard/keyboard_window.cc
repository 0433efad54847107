// SPDX-License-Identifier: MIT
#include "keyboard/keyboard_window.h"

#include "platform/services.h"

namespace kv {

namespace {

constexpr Size kInitialSize{720, 350};
constexpr Size kMinimumSize{520, 290};

}  // namespace

KVKeyboardWindow& KVKeyboardWindow::sharedWindow() {
    // Made once, on first use; controllers reach it until the process ends.
    static KVKeyboardWindow window;
    return window;
}

KVKeyboardWindow::KVKeyboardWindow()
    : _panel(kInitialSize), _keyboardView(Rect({0, 0}, kInitialSize)) {
    _panel.level = Panel::Level::Floating;
    _panel.resizable = true;
    _panel.hidesOnDeactivate = false;
    // The view takes no focus, so a click never takes it from the application being typed into.
    _panel.becomesKeyOnlyIfNeeded = true;
    _panel.minSize = kMinimumSize;
    _panel.backgroundColor = Color::clear();
    _panel.opaque = true;
    _panel.center();
    _keyboardView.setKeyHandler([](std::string_view token) {
        defaultCenter().postNotificationName(KVKeyboardKeyPressedNotification, token);
    });
    // The view lives inside this object, so its callback never outlives `this`.
    _keyboardView.setCloseHandler([this] {
        closeWindow();
        defaultCenter().postNotificationName(KVKeyboardWindowDidCloseNotification);
    });
    _panel.didResize = [this] { _keyboardView.setFrameSize(_panel.frame().size); };
    _panel.content = &_keyboardView;
}

void KVKeyboardWindow::toggleWindow() {
    const bool visible = _panel.isVisible();
    _requestedVisible = !visible;
    if (visible) {
        _panel.orderOut();
    } else {
        showPanel();
    }
}

void KVKeyboardWindow::closeWindow() {
    _requestedVisible = false;
    _panel.orderOut();
}

void KVKeyboardWindow::hideForFocusLoss() {
    _panel.orderOut();
}

void KVKeyboardWindow::restoreAfterFocus() {
    if (_requestedVisible) {
        showPanel();
    }
}

void KVKeyboardWindow::showPanel() {
    _panel.setNeedsDisplay();
    _panel.orderFront();
}

}  // namespace kv
