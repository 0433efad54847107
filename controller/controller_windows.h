// SPDX-License-Identifier: MIT
// The process-wide windows a controller drives: the candidate window, the on-screen keyboard,
// the settings window and the words window.
#pragma once

#include "candidates/candidate_window.h"
#include "keyboard/keyboard_window.h"
#include "settings/preferences_window.h"
#include "words/words_window.h"

namespace kv {

// Handed to every controller by the server, so that a test can give its sessions windows of
// their own; the program uses the process's windows.
struct KVControllerWindows {
    KVCandidateWindow& candidates;
    KVKeyboardWindow& keyboard;
    KVPreferencesWindow& preferences;
    KVWordsWindow& words;
};

// The process's windows, each made on its first use.
inline KVControllerWindows KVSharedControllerWindows() {
    return {KVCandidatePanel(), KVKeyboardWindow::sharedWindow(),
            KVPreferencesWindow::sharedWindow(), KVWordsWindow::sharedWindow()};
}

}  // namespace kv
