// SPDX-License-Identifier: MIT
// The keyboard's fixed key rows and the root character printed on each key.
#pragma once

#include <array>
#include <map>
#include <string_view>

namespace kv {

// Top row first; each character is one key, unshifted, letters in lower case.
inline constexpr std::array<std::string_view, 4> KVKeyboardRows{
    "`1234567890-=",
    "qwertyuiop[]\\",
    "asdfghjkl;'",
    "zxcvbnm,./",
};

// The grid every row is centred on: the length of the longest row.
inline constexpr int KVKeyboardColumns = 13;

using KVKeyboardRootMap = std::map<std::string_view, std::string_view, std::less<>>;

// One entry per key of KVKeyboardRows. A display aid only: a key types its own character.
const KVKeyboardRootMap& KVKeyboardRootNames();

}  // namespace kv
