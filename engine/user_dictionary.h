// SPDX-License-Identifier: MIT
// The user dictionary's text: one "code phrase" entry per line, checked against the table's keys.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/load_problem.h"

namespace cqinput {

using PhraseMap = std::unordered_map<std::string, std::vector<std::string>>;

// Parses `text` into `phrases` (folded code -> phrases in file order). `isTableKey` tells whether
// a folded code byte is a key of the table. Stops at the first entry that breaks a rule and
// returns it (its line and what is wrong); `phrases` is then incomplete and must be dropped.
std::optional<LoadProblem> parseUserDictionary(std::string_view text,
                                               const std::function<bool(char)>& isTableKey,
                                               PhraseMap& phrases);

}  // namespace cqinput
