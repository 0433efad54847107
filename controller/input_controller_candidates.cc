// SPDX-License-Identifier: MIT
// The controller's side of the shared candidate window: the display list, the highlight, the
// toolbar next to the insertion point and how it follows, and the window's delegate calls.
#include "candidates/candidate_page.h"
#include "controller/candidate_anchor.h"
#include "controller/input_controller.h"
#include "platform/services.h"
#include "platform/transforms.h"
#include "settings/settings_keys.h"
#include "settings/settings_writer.h"

namespace kv {

namespace {

// How long the toolbar keeps following the insertion point after the last keystroke (mode 2).
constexpr double kEndOfTypingDelay = 0.9;

enum FollowMode : std::int64_t { NeverFollow = 0, AlwaysFollow = 1, FollowWhileTyping = 2 };

}  // namespace

void KVInputController::rebuildCandidateItems() {
    _candidateItems.clear();
    if (!_engine) {
        return;
    }
    for (const std::string& candidate : _engine->candidates) {
        _candidateItems.push_back(Transforms::utf16ToUtf8(displayText(candidate)));
    }
}

void KVInputController::showCandidateWindow(const Rect& anchor) {
    _windows.candidates.showCandidates(_candidateItems, SelectionKeys(_letterSelection),
                                       _candidateIndex, _simplifiedMode, _fullwidthMode, anchor,
                                       composedReading());
}

void KVInputController::becomeDelegate() {
    _windows.candidates.setDelegate(weak_from_this());
}

bool KVInputController::listIsOnScreen() const {
    const KVCandidateWindow& window = _windows.candidates;
    // Whoever shows a list or the toolbar becomes the delegate, so a list shown with this
    // session as delegate is this session's latest.
    return window.panel().isVisible() && !window.toolbarOnly() &&
           window.delegate().get() == static_cast<const KVCandidateWindowDelegate*>(this);
}

void KVInputController::showListAgain(TextClient* client) {
    rebuildCandidateItems();
    becomeDelegate();
    showCandidateWindow(readingEndAnchor(client));
}

void KVInputController::refreshVisibleCandidates() {
    if (!_engine || _engine->candidates.empty()) {
        return;
    }
    rebuildCandidateItems();
    becomeDelegate();
    showCandidateWindow(CandidateAnchorRect(client(), 0));
}

void KVInputController::updateCandidateSelection() {
    if (_candidateIndex >= 0 &&
        _candidateIndex < static_cast<std::int64_t>(_candidateItems.size())) {
        _windows.candidates.selectIndex(_candidateIndex);
    }
}

void KVInputController::showPersistentToolbarForClient(TextClient* client, bool typing) {
    if (client == nullptr) {
        return;
    }
    // While candidates are offered the list owns the window.
    if (_engine && !_engine->candidates.empty()) {
        return;
    }
    if (!_persistentToolbar) {
        _windows.candidates.hide();
        return;
    }
    // A corner of the screen is no caret: the toolbar appears once the client tells its caret.
    const std::optional<Rect> anchor = KVKnownAnchorRect(client, 0);
    _toolbarAwaitsCaret = !anchor;
    if (!anchor) {
        _windows.candidates.hide();
        return;
    }
    bool follow = _toolbarFollowMode == AlwaysFollow;
    if (_toolbarFollowMode == FollowWhileTyping) {
        if (typing) {
            _temporaryFollowPending = true;
            const std::uint64_t generation = ++_toolbarFollowGeneration;
            const std::weak_ptr<KVInputController> weak = weak_from_this();
            mainQueue().after(kEndOfTypingDelay, [weak, generation] {
                if (const std::shared_ptr<KVInputController> self = weak.lock()) {
                    self->endTemporaryFollow(generation);
                }
            });
            follow = true;
        } else {
            follow = _temporaryFollowPending;
        }
    }
    // The toolbar's buttons act on the session whose toolbar it is.
    becomeDelegate();
    _windows.candidates.showToolbarAtAnchorRect(*anchor, _simplifiedMode, _fullwidthMode, follow);
}

void KVInputController::clientCaretDidChange() {
    if (!hasFocus()) {
        return;
    }
    if (_engine && !_engine->candidates.empty()) {
        refreshVisibleCandidates();
    } else if (_toolbarAwaitsCaret || _toolbarFollowMode == AlwaysFollow) {
        showPersistentToolbarForClient(client(), false);
    }
}

void KVInputController::endTemporaryFollow(std::uint64_t generation) {
    // A later keystroke, a settings change, a deactivation, an application switch or the end
    // of the session has superseded this step.
    if (_closed || _toolbarFollowGeneration != generation) {
        return;
    }
    _temporaryFollowPending = false;
    if (!_persistentToolbar || (_engine && !_engine->candidates.empty())) {
        return;
    }
    const std::optional<Rect> anchor = KVKnownAnchorRect(client(), 0);
    if (!anchor) {
        return;
    }
    becomeDelegate();
    _windows.candidates.showToolbarAtAnchorRect(*anchor, _simplifiedMode, _fullwidthMode, false);
}

void KVInputController::setSimplifiedMode(bool on) {
    _simplifiedMode = on;
    if (const DefaultsWriteProblem problem =
            KVWriteSetting(standardUserDefaults(), ControllerRules::SimplifiedOutput, on)) {
        KVReportUnsavedSettings(*problem);
    }
}

void KVInputController::setFullwidthMode(bool on) {
    _fullwidthMode = on;
    if (const DefaultsWriteProblem problem =
            KVWriteSetting(standardUserDefaults(), ControllerRules::FullwidthMode, on)) {
        KVReportUnsavedSettings(*problem);
    }
}

void KVInputController::candidateWindowDidMoveToIndex(KVCandidateWindow&, std::int64_t index) {
    // The slider of another session's list says nothing about this one.
    if (listIsOnScreen()) {
        _candidateIndex = index;
    }
}

void KVInputController::candidateWindowDidChooseIndex(KVCandidateWindow&, std::int64_t index) {
    if (index >= 0 && index < candidateCount() && listIsOnScreen()) {
        applyAction(_engine->choose(static_cast<std::size_t>(index)), client());
    }
}

void KVInputController::candidateWindowDidToggleScript(KVCandidateWindow&) {
    setSimplifiedMode(!_simplifiedMode);
    refreshVisibleCandidates();
    showPersistentToolbarForClient(client(), false);
}

void KVInputController::candidateWindowDidToggleWidth(KVCandidateWindow&) {
    setFullwidthMode(!_fullwidthMode);
    refreshVisibleCandidates();
    showPersistentToolbarForClient(client(), false);
}

void KVInputController::candidateWindowDidOpenSettings(KVCandidateWindow&) {
    showPreferences();
}

void KVInputController::candidateWindowDidOpenWords(KVCandidateWindow&) {
    openUserDictionary();
}

void KVInputController::candidateWindowDidToggleKeyboard(KVCandidateWindow&) {
    toggleKeyboard();
}

}  // namespace kv
