// SPDX-License-Identifier: MIT
// The CIN grammar: property lines, the key-name section and the character-definition section.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/code_map.h"

namespace cqinput {

// Finds a key from a string_view without building a string for it. Key names and property
// names are a few bytes, looked up several times per key press: FNV-1a, inline.
struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const noexcept {
        std::uint64_t hash = 0xCBF29CE484222325ULL;
        for (const char c : key) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
        }
        return static_cast<std::size_t>(hash);
    }
};

using KeyMap = std::unordered_map<std::string, std::string_view, KeyHash, std::equal_to<>>;

// Fills the three maps from `text`; every value is a view into `text`. Lines that fit no rule
// are skipped; nothing is an error. `chardef` is finished on return.
void parseCin(std::string_view text, CodeMap& chardef, KeyMap& keynames, KeyMap& properties);

}  // namespace cqinput
