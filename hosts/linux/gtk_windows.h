// SPDX-License-Identifier: MIT
// The GTK bodies of the settings window and the words window, for the program's start and for
// pictures of them. Nothing of GTK shows here, so callers need not include it.
#pragma once

#include <filesystem>
#include <string>

#include "platform/geometry.h"
#include "settings/preferences_window.h"
#include "words/words_window.h"

namespace kv {

// Starts GTK on the current X11 display (XWayland's in a Wayland session); false when there is
// none to show windows on.
bool KVStartGtkWindows();

// Makers of the windows' GTK bodies, for the windows' hooks.
KVPreferencesWindow::BodyMaker KVGtkPreferencesWindowMaker();
KVWordsWindow::BodyMaker KVGtkWordsWindowMaker();

// Resizes the words window as the user would; the content area becomes `size` (no smaller than
// the window's minimum). False when the body is not a GTK one.
bool KVResizeWindow(const WordsWindowBody* body, Size size);

// Waits until the window `body` shows is on screen and drawn, then writes its content area to
// `png`, one point one pixel. False, with `error` set, when the body is not a GTK one, the window
// did not appear or the file cannot be written.
bool KVWriteWindowPNG(const PreferencesWindowBody* body, const std::filesystem::path& png,
                      std::string& error);
bool KVWriteWindowPNG(const WordsWindowBody* body, const std::filesystem::path& png,
                      std::string& error);

}  // namespace kv
