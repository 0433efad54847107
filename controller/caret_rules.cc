// SPDX-License-Identifier: MIT
#include "controller/caret_rules.h"

#include <algorithm>

namespace kv {

std::optional<Rect> KVCaretFromReport(const Rect& reported) {
    if (reported == Rect()) {
        return std::nullopt;
    }
    Rect caret = reported;
    // The windows need a real rectangle: a caret without width is a line, one without height
    // or taller than a line stands for the line that starts there.
    caret.size.width = std::max(caret.width(), 1.0);
    if (caret.height() <= 0 || caret.height() > kTallestCaret) {
        caret.size.height = kAssumedLineHeight;
    }
    return caret;
}

}  // namespace kv
