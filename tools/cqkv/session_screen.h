// SPDX-License-Identifier: MIT
// What the interactive session shows: the text, the marked text, the candidate page, the log.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/cqkv/terminal_session.h"

namespace kv {

// `text` with every control byte replaced by U+FFFD: table and user dictionary texts reach the
// terminal, and a byte in them must not be able to move the cursor or change its settings.
std::string printableText(std::string_view text);

// The screen's lines, top to bottom, without line ends: a help line, "Text: ...", then while
// composing "Code: MARKED", and while the panel shows candidates one row per candidate of the
// page with its selection key ("1 明" ... "0 ...") and "page n/m"; last what the input method
// logged, one line each.
std::vector<std::string> renderSession(TerminalSession& session);

}  // namespace kv
