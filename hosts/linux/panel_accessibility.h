// SPDX-License-Identifier: MIT
// What the candidate window and the on-screen keyboard read as to a screen reader, built from
// the records their panels paint.
#pragma once

#include <vector>

#include "candidates/candidate_window.h"
#include "keyboard/keyboard_window.h"
#include "platform/accessible_element.h"

namespace kv {

// The visible rows as a list of items named by key and candidate ("1 日"), the highlighted one
// selected; the page label; the toolbar's buttons named by what they do. Nothing while hidden.
std::vector<AccessibleElement> CandidateAccessibleElements(KVCandidateWindow& window);

// Lets both panels' bodies ask for their parts.
void InstallPanelAccessibility(KVCandidateWindow& candidates, KVKeyboardWindow& keyboard);

}  // namespace kv
