// SPDX-License-Identifier: MIT
// The interactive session on a terminal: raw mode, keys in, screen out.
#pragma once

#include <ostream>

#include "testing/session_runner.h"

namespace kv {

// Runs the input method on the table and user dictionary of `options` on the terminal at
// standard input and output until Ctrl+C, Ctrl+D or the end of input. The terminal's settings are
// restored on return and on a fatal signal. The text is printed when the session ends. Returns the
// exit status (1, after the input method's log, when the table cannot be loaded or the terminal
// cannot be put into raw mode).
int runInteractiveTerminal(const SessionOptions& options, std::ostream& err);

}  // namespace kv
