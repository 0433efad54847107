// SPDX-License-Identifier: MIT
// What the interactive session shows: the committed text, the reading, the candidate page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/cqkv/typing_session.h"

namespace kv {

// `text` with every control byte replaced by U+FFFD: table and user dictionary texts reach the
// terminal, and a byte in them must not be able to move the cursor or change its settings.
std::string printableText(std::string_view text);

// The screen's lines, top to bottom, without line ends: a help line, "Text: ...", then while
// composing "Code: READING (keys)", and while choosing one row per candidate of the page
// ("1 明" ... "0 ...") and "page n/m"; last the session's notice, if any.
std::vector<std::string> renderSession(const TypingSession& session);

}  // namespace kv
