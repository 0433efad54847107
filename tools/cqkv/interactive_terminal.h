// SPDX-License-Identifier: MIT
// The interactive session on a terminal: raw mode, keys in, screen out.
#pragma once

#include <ostream>

#include "engine/cin_table.h"

namespace kv {

// Runs a typing session on the terminal at standard input and output until Ctrl+C, Ctrl+D or
// the end of input. The terminal's settings are restored on return and on a fatal signal. The
// committed text is printed when the session ends. Returns the exit status (1 when the terminal
// cannot be put into raw mode).
int runInteractiveTerminal(const cqinput::CinTable& table, std::ostream& err);

}  // namespace kv
