// SPDX-License-Identifier: MIT
// The letter-to-root transliteration of a Rime schema: which root each of the keys a to z types.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The roots of the letters a to z, in that order.
using LetterRoots = std::array<std::string, 26>;

// Finds the schema's "xlit|SOURCE|TARGET|" rules (any delimiter after "xlit") and takes the first
// one whose source holds all the letters a to z; failing that, the first one that holds A to Z.
// Each letter's root is the character at the same position of the target. Nothing when no rule
// covers the alphabet or a root is not printable UTF-8.
std::optional<LetterRoots> parseLetterRoots(std::string_view schema);

}  // namespace kv
