// SPDX-License-Identifier: MIT
// Which panel draws the candidate list: the program's own window beside the caret, or the
// desktop's panel (where the program cannot place a window at another program's caret).
#pragma once

#include <string_view>

namespace kv {

struct KVPanelSituation {
    bool windowsAtCaret = true;  // the display lets the program put windows at a caret (X11)
    bool waylandSession = false;
    bool caretKnown = false;  // the focused client has reported a caret
};

// By the stored "CandidatePanel" choice ("own", "desktop"); absent or unknown, by the session:
// the desktop draws where the program's windows cannot follow the caret. Decided afresh for
// every engine object and every focus, never carried over from an earlier one.
bool KVUseDesktopPanel(std::string_view choice, const KVPanelSituation& situation);

}  // namespace kv
