// SPDX-License-Identifier: MIT
// What a code may be: the one rule the typing engine, the user dictionary's loader, the words
// window and `cqkv check` apply.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cqinput {

// The most keys a code holds.
inline constexpr std::size_t kMaxCodeLength = 6;

// The wildcards of a lookup, allowed in every code.
constexpr bool isWildcard(char key) {
    return key == '*' || key == '?';
}

// Why the folded `code` cannot be a user phrase's code, or nothing: 1 to kMaxCodeLength bytes,
// each a wildcard or a key of the table (`isTableKey`; printable ASCII other than space).
std::optional<std::string> codeProblem(std::string_view code,
                                       const std::function<bool(char)>& isTableKey);

}  // namespace cqinput
