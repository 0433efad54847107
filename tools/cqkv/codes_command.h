// SPDX-License-Identifier: MIT
// `cqkv codes`: the other way round from lookup, the codes that type each character of a text.
#pragma once

#include <ostream>

#include "tools/cqkv/command_line.h"

namespace kv {

// One line per code of each character of the text (the positional words joined by blanks):
// "日  a (日) 1st", the code's reading in roots and the character's place in the code's list;
// "X  not in the table" for a character without one. Blanks only separate, and a character
// given twice is shown once. Returns 0, 1 when the table cannot be loaded, or 2 when no text or
// text that is not UTF-8 is given.
int runCodes(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace kv
