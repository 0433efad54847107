// SPDX-License-Identifier: MIT
// Reading a Rime dictionary: a YAML header closed by "...", then "text<TAB>code[<TAB>stem]" lines.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// One character of the dictionary; both views point into the text given to the parser.
struct DictionaryEntry {
    std::string_view text;
    std::string_view code;
};

// The first line the parser could not take, counted from 1, and why.
struct DictionaryProblem {
    std::size_t line = 0;
    std::string reason;
};

// Appends the entries of `text` to `entries` in file order. The header, comments ("#" first) and
// blank lines are skipped; columns after the code (the stem) are ignored. A code is one or more
// of the letters a to z; a text is well-formed UTF-8 without control characters or outer blanks.
// An entry whose text holds a character of the Private Use Area is left out.
// Stops at the first line that breaks a rule and returns it; `entries` is then incomplete.
std::optional<DictionaryProblem> parseRimeDictionary(std::string_view text,
                                                     std::vector<DictionaryEntry>& entries);

}  // namespace kv
