// SPDX-License-Identifier: MIT
// What the candidate window tells its delegate: the user's clicks, slider moves and toolbar
// presses.
#pragma once

#include <cstdint>

namespace kv {

class KVCandidateWindow;

// The window never acts on these itself; the delegate decides and shows the panel again.
class KVCandidateWindowDelegate {
  public:
    virtual ~KVCandidateWindowDelegate() = default;

    // The user moved the page slider; `index` is the newly selected candidate.
    virtual void candidateWindowDidMoveToIndex(KVCandidateWindow& window, std::int64_t index) = 0;
    // The user clicked a row; `index` is absolute in the candidate list.
    virtual void candidateWindowDidChooseIndex(KVCandidateWindow& window, std::int64_t index) = 0;
    virtual void candidateWindowDidToggleScript(KVCandidateWindow& window) = 0;
    virtual void candidateWindowDidToggleWidth(KVCandidateWindow& window) = 0;
    virtual void candidateWindowDidOpenSettings(KVCandidateWindow& window) = 0;
    virtual void candidateWindowDidOpenWords(KVCandidateWindow& window) = 0;
    virtual void candidateWindowDidToggleKeyboard(KVCandidateWindow& window) = 0;
};

}  // namespace kv
