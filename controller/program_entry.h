// SPDX-License-Identifier: MIT
// The program's entry: the framework's server under the bundle's connection name, the one
// candidate window, and the event loop.
#pragma once

#include <memory>
#include <ostream>
#include <string_view>

#include "settings/preferences_window.h"
#include "words/words_window.h"

namespace kv {

// The framework's server object: while it lives, the framework connects client sessions to the
// input method and creates a controller for each.
class IMKServer {
  public:
    virtual ~IMKServer() = default;
};

// The desktop's input method framework as the entry needs it.
class InputMethodKit {
  public:
    virtual ~InputMethodKit() = default;
    // The server under `name` for the bundle `bundleIdentifier`; null when it cannot be made
    // (no usable connection).
    virtual std::unique_ptr<IMKServer> createServer(std::string_view name,
                                                    std::string_view bundleIdentifier) = 0;
    // Runs the application's event loop; returns only when the loop ends.
    virtual void run() = 0;
    // What puts the settings window and the words window on screen; none by default.
    virtual KVPreferencesWindow::BodyMaker preferencesWindowBody() { return {}; }
    virtual KVWordsWindow::BodyMaker wordsWindowBody() { return {}; }
};

// The information-dictionary key under which the bundle names its connection.
inline constexpr std::string_view kInputMethodConnectionNameKey = "InputMethodConnectionName";

// Starts the input method on `framework` and runs it. Returns the exit status: 1, after the
// line "CQ_Input_KV: cannot create IMKServer" on `log`, when the server cannot be made; 0 when
// the event loop ends.
int KVMain(InputMethodKit& framework, std::ostream& log);

}  // namespace kv
