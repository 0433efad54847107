// SPDX-License-Identifier: MIT
// What a client's report of its caret is worth for placing the windows. Desktop toolkits report
// the caret in root coordinates with y downward; every host that receives such reports shares
// these rules.
#pragma once

#include <optional>

#include "platform/geometry.h"

namespace kv {

// Taller than this is no line of text: some toolkits report their whole text view.
inline constexpr double kTallestCaret = 160;
// The line taken for a caret that tells no height, and for the first line of a too tall one.
inline constexpr double kAssumedLineHeight = 20;

// The caret to place windows by, y downward as reported; nothing when the report means "no
// caret" (an empty rectangle at the origin, as IBus sends while no field has focus).
std::optional<Rect> KVCaretFromReport(const Rect& reported);

}  // namespace kv
