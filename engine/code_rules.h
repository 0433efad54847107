// SPDX-License-Identifier: MIT
// What a code and a user phrase may be: the one rule the typing engine, the user dictionary's
// loader, the words window and `cqkv check` apply.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cqinput {

// The most keys a code holds.
inline constexpr std::size_t kMaxCodeLength = 6;

// The most characters a user phrase holds: far past any real phrase, short enough to show and
// commit at once.
inline constexpr std::size_t kMaxPhraseLength = 1000;

// The wildcards of a lookup, allowed in every code.
constexpr bool isWildcard(char key) {
    return key == '*' || key == '?';
}

// Why the folded `code` cannot be a user phrase's code, or nothing: 1 to kMaxCodeLength bytes,
// each a wildcard or a key of the table (`isTableKey`; printable ASCII other than space).
std::optional<std::string> codeProblem(std::string_view code,
                                       const std::function<bool(char)>& isTableKey);

// Why `phrase` cannot be a user phrase, or nothing: not empty, well-formed UTF-8 without a NUL,
// at most kMaxPhraseLength characters.
std::optional<std::string> phraseProblem(std::string_view phrase);

}  // namespace cqinput
