// SPDX-License-Identifier: MIT
// `cqkv check`: would the input method load this table or user dictionary, and if not, why.
#pragma once

#include <ostream>
#include <string_view>

#include "tools/cqkv/command_line.h"

namespace kv {

// A file is checked as a table when its name ends in ".cin" or one of its lines begins with the
// word "%chardef"; any other file is checked as a user dictionary.
bool looksLikeTable(std::string_view fileName, std::string_view text);

// Prints one verdict line per FILE on `out`: "FILE: OK (...)", "FILE:LINE: reason" or
// "FILE: reason". User dictionaries are checked against --table or the shipped table. Returns 0
// when every file would load, 1 when one would not (or the table to check against cannot be
// loaded), 2 when no file is given.
int runCheck(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace kv
