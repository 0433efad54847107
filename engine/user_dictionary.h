// SPDX-License-Identifier: MIT
// The user dictionary's text: one "code phrase" entry per line, checked against the table's keys.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cqinput {

using PhraseMap = std::unordered_map<std::string, std::vector<std::string>>;

// Why a user dictionary is refused: the first bad line and what is wrong with it.
struct UserDictionaryProblem {
    std::size_t line = 0;
    std::string reason;
};

// Parses `text` into `phrases` (folded code -> phrases in file order). `isTableKey` tells whether
// a folded code byte is a key of the table. Stops at the first entry that breaks a rule and
// returns it; `phrases` is then incomplete and must be dropped.
std::optional<UserDictionaryProblem> parseUserDictionary(
    std::string_view text, const std::function<bool(char)>& isTableKey, PhraseMap& phrases);

}  // namespace cqinput
