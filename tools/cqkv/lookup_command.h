// SPDX-License-Identifier: MIT
// `cqkv lookup`: the candidates of codes, in the order the input method offers them.
#pragma once

#include <ostream>

#include "tools/cqkv/command_line.h"

namespace kv {

// One candidate per line. With several codes each code's list follows a "CODE:" line and is
// indented by two spaces. Returns 0, 1 when the table or user dictionary cannot be loaded, or 2
// when no code is given.
int runLookup(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace kv
