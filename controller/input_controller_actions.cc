// SPDX-License-Identifier: MIT
// Engine actions turned into what the client shows: the underlined reading, the candidate list,
// committed text and the beep; and the controller's other edits of the client's text.
#include <algorithm>

#include "controller/candidate_anchor.h"
#include "controller/input_controller.h"
#include "controller/shared_table.h"
#include "platform/key_codes.h"
#include "platform/services.h"
#include "platform/transforms.h"

namespace kv {

namespace {

// Deletion looks back at most this many units for the character before the caret.
constexpr std::int64_t kDeleteLookBehind = 16;

// The reading as marked text: underlined whole, the caret at its end.
void SetMarkedReading(TextClient& client, std::u16string_view text) {
    const auto length = static_cast<std::int64_t>(text.size());
    client.setMarkedText(text, Underline::Single, Range{length, 0}, Range::notFound());
}

}  // namespace

std::u16string KVInputController::displayText(std::string_view utf8) const {
    std::u16string text = Transforms::utf8ToUtf16(utf8);
    if (_simplifiedMode) {
        text = transforms().traditionalToSimplified(text);
    }
    return text;
}

void KVInputController::applyAction(const cqinput::EngineAction& action, TextClient* client) {
    switch (action.kind) {
        case cqinput::ActionKind::Compose:
            if (client != nullptr) {
                SetMarkedReading(*client, Transforms::utf8ToUtf16(composedReading()));
            }
            showPersistentToolbarForClient(client, true);
            return;
        case cqinput::ActionKind::ShowCandidates:
            rebuildCandidateItems();
            _candidateIndex = 0;
            becomeDelegate();
            showCandidateWindow(readingEndAnchor(client));
            return;
        case cqinput::ActionKind::Commit:
            showPersistentToolbarForClient(client, false);
            _candidateItems.clear();
            clearMarkedTextForClient(client);
            if (client != nullptr) {
                client->insertText(displayText(action.text), Range::notFound());
            }
            return;
        case cqinput::ActionKind::Clear:
        case cqinput::ActionKind::Reject:
            showPersistentToolbarForClient(client, false);
            _candidateItems.clear();
            clearMarkedTextForClient(client);
            if (action.kind == cqinput::ActionKind::Reject) {
                systemBeep().beep();
            }
            return;
        default:
            return;
    }
}

Rect KVInputController::readingEndAnchor(TextClient* client) const {
    const auto reading =
        static_cast<std::int64_t>(Transforms::utf8ToUtf16(composedReading()).size());
    return CandidateAnchorRect(client, std::max<std::int64_t>(reading - 1, 0));
}

void KVInputController::showComposition(TextClient* client) {
    if (client != nullptr) {
        SetMarkedReading(*client, Transforms::utf8ToUtf16(composedReading()));
    }
}

void KVInputController::clearMarkedTextForClient(TextClient* client) {
    if (client != nullptr) {
        client->setMarkedText(u"", Underline::Single, Range{0, 0}, Range::notFound());
    }
}

void KVInputController::clearCompositionForClient(TextClient* client) {
    if (_engine) {
        _engine->cancel();
    }
    _command.clear();
    _windows.candidates.hide();
    if (client != nullptr) {
        clearMarkedTextForClient(client);
    }
}

void KVInputController::commitComposition(TextClient* sender) {
    // Toolkits end the composition on every click in the text, also when there is none.
    if (!isComposing()) {
        return;
    }
    clearCompositionForClient(sender);
    if (hasFocus()) {
        showPersistentToolbarForClient(sender, false);
    }
}

bool KVInputController::isComposing() const {
    return !_command.empty() ||
           (_engine && (!_engine->code.empty() || !_engine->candidates.empty()));
}

std::string KVInputController::composedReading() const {
    return _engine ? _engine->readingDisplay() : std::string();
}

std::string KVInputController::composedString() const {
    return _command.empty() ? composedReading() : _command;
}

void KVInputController::showRawReading(std::string_view text, TextClient* client) {
    if (client != nullptr) {
        SetMarkedReading(*client, Transforms::utf8ToUtf16(text));
    }
}

void KVInputController::replayCode(std::string_view code, bool trigger, TextClient* client) {
    if (!_engine) {
        return;
    }
    _engine->cancel();
    // Only the last key's result is shown: the letters arrive as one composition.
    cqinput::EngineAction pending;
    for (const char key : code) {
        pending = _engine->pressCode(key);
    }
    if (trigger) {
        if (_table) {
            KVReloadUserDictionary();
        }
        pending = _engine->trigger();
    }
    // The letters were on screen raw. A last key that is no key of the table, or a list, leaves
    // the marked text alone, so the engine's reading is put there first.
    if (pending.kind == cqinput::ActionKind::None ||
        pending.kind == cqinput::ActionKind::ShowCandidates) {
        showComposition(client);
    }
    applyAction(pending, client);
}

void KVInputController::deleteBackwardInClient(TextClient* client) {
    const std::optional<Range> selected =
        client != nullptr ? client->selectedRange() : std::optional<Range>();
    if (selected && selected->length != 0 && selected->location != NotFound) {
        client->insertText(u"", *selected);
        return;
    }
    if (selected && selected->location > 0 && selected->location != NotFound) {
        const std::int64_t location = selected->location;
        const std::int64_t n = std::min(location, kDeleteLookBehind);
        const std::optional<std::u16string> before =
            client->attributedSubstringFromRange(Range{location - n, n});
        Range target{n - 1, 1};
        if (before && !before->empty()) {
            target = transforms().rangeOfComposedCharacterSequence(
                *before, static_cast<std::int64_t>(before->size()) - 1);
        }
        client->insertText(u"", Range{target.location + location - n, target.length});
        return;
    }
    // No caret to edit around: let the application delete as for the hardware key.
    keySynth().postKeyPress(KeyCode::Delete);
}

}  // namespace kv
