// SPDX-License-Identifier: MIT
// What the candidate window and the on-screen keyboard read as to a screen reader, built from
// the records their panels paint.
#pragma once

#include <string>
#include <vector>

#include "candidates/candidate_window.h"
#include "keyboard/keyboard_window.h"
#include "platform/accessible_element.h"

namespace kv {

// The visible rows as a list of items named by key and candidate ("1 日"), the highlighted one
// selected; the page label; the toolbar's buttons named by what they do; the modes as a status.
// Only the status while hidden.
std::vector<AccessibleElement> CandidateAccessibleElements(KVCandidateWindow& window);

// The input modes in words ("中文，繁體，半形"), read as a status of the candidate window: a
// screen reader hears the status's name change when the user switches a mode. Empty for none.
std::string AccessibleModesText(bool chinese, bool simplified, bool fullwidth);
// Sets the status; a change goes out at once, also while the window is hidden.
void SetAccessibleModes(KVCandidateWindow& window, std::string modes);

// Lets the keyboard's body ask for its parts (a process that shows only the keyboard).
void InstallKeyboardAccessibility(KVKeyboardWindow& keyboard);
// Lets both panels' bodies ask for their parts.
void InstallPanelAccessibility(KVCandidateWindow& candidates, KVKeyboardWindow& keyboard);

}  // namespace kv
