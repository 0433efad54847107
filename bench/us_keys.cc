// SPDX-License-Identifier: MIT
#include "bench/us_keys.h"

#include <array>
#include <string_view>
#include <utility>

namespace kv::bench {

namespace {

constexpr unsigned kSpace = 0x20;
constexpr unsigned kEscape = 0xff1b;

}  // namespace

std::optional<UsKey> UsKeyOf(char key) {
    static constexpr std::array<std::pair<std::string_view, unsigned>, 3> kLetterRows{{
        {"qwertyuiop", 16},
        {"asdfghjkl", 30},
        {"zxcvbnm", 44},
    }};
    for (const auto& [row, first] : kLetterRows) {
        if (const auto at = row.find(key); at != std::string_view::npos) {
            return UsKey{static_cast<unsigned>(key), first + static_cast<unsigned>(at)};
        }
    }
    if (key >= '1' && key <= '9') {
        return UsKey{static_cast<unsigned>(key), static_cast<unsigned>(key - '1' + 2)};
    }
    switch (key) {
        case '0':
            return UsKey{static_cast<unsigned>('0'), 11U};
        case ' ':
            return UsKey{kSpace, 57U};
        case '\x1b':
            return UsKey{kEscape, 1U};
        default:
            return std::nullopt;
    }
}

}  // namespace kv::bench
