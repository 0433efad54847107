// SPDX-License-Identifier: MIT
// Writing an imported dictionary as a CIN table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/cqkv/dictionary_import.h"
#include "tools/cqkv/schema_roots.h"

namespace kv {

// The table's text: `comment` lines (each given a leading "# "), the properties "%gen_inp",
// "%ename", "%cname" and "%selkey", the key names a to z labelled with `roots`, and one chardef
// line "code text" per entry, in the order given.
std::string formatCin(const std::vector<std::string>& comment, const LetterRoots& roots,
                      const std::vector<DictionaryEntry>& entries);

}  // namespace kv
