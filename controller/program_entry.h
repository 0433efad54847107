// SPDX-License-Identifier: MIT
// The program's entry: the framework's server under the bundle's connection name, the one
// candidate window, and the event loop.
#pragma once

#include <ostream>

#include "platform/input_method_kit.h"
#include "settings/preferences_window.h"
#include "words/words_window.h"

namespace kv {

// What puts the settings window and the words window on screen; the host knows the desktop's
// toolkit, so it hands them in. Empty makers leave the windows without a body.
struct KVWindowBodies {
    KVPreferencesWindow::BodyMaker preferences;
    KVWordsWindow::BodyMaker words;
};

// Gives the shared settings and words windows their bodies and neighbours, before their first
// use; KVMain does it, and so does a process that shows the windows without the input method.
void KVPrepareSharedWindows(const KVWindowBodies& bodies);

// Starts the input method on `framework` and runs it. Returns the exit status: 1, after the
// line "CQ_Input_KV: cannot create IMKServer" on `log`, when the server cannot be made; 0 when
// the event loop ends.
int KVMain(InputMethodKit& framework, const KVWindowBodies& bodies, std::ostream& log);

}  // namespace kv
