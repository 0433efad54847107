// SPDX-License-Identifier: MIT
// The interactive session: the input method's own controller, candidate window and settings on
// the memory bodies, with the terminal standing in for the application that receives the text.
#pragma once

#include <string>

#include "testing/session_runner.h"
#include "tools/cqkv/terminal_keys.h"

namespace kv {

struct SessionReply {
    bool quit = false;  // the key ends the session
    bool beep = false;  // the input method refused the key
};

class TerminalSession {
  public:
    // Opens the one session at once, so that a table that cannot be loaded shows before any key.
    explicit TerminalSession(const SessionOptions& options);

    // Hands the key to the input method as the desktop would. A key it passes on reaches the
    // text as it would reach an application: a character is typed, Space types a space,
    // Backspace erases the last character; other keys do nothing there.
    SessionReply handleKey(const TerminalKey& key);

    // False when the input method has no table to type with (the log says why).
    bool hasTable();
    // What the application holds: everything inserted and typed through.
    const std::string& text() const { return _text; }
    // The marked text, the candidate panel and the log, as the last key left them.
    const StepReport& last() const { return _last; }
    SessionRunner& runner() { return _runner; }

  private:
    void typeThrough(const TerminalKey& key);

    SessionRunner _runner;
    std::string _text;
    StepReport _last;
};

}  // namespace kv
