// SPDX-License-Identifier: MIT
// Clicks on the on-screen keyboard, typed into the session that has the keyboard focus.
#include <algorithm>
#include <utility>

#include "candidates/candidate_page.h"
#include "controller/input_controller.h"
#include "controller/shared_table.h"
#include "keyboard/keyboard_view.h"
#include "platform/services.h"
#include "platform/transforms.h"

namespace kv {

void KVInputController::keyboardKeyPressed(std::string_view token) {
    // Every session hears the click; only the one the user is typing in acts on it, so text
    // never lands in an application the user is not looking at.
    if (token.empty() || !_engine || !_chineseMode || !hasFocus()) {
        return;
    }
    TextClient* const target = client();
    // As with a physical key, a hidden list comes back before anything is chosen from it.
    if (!_engine->candidates.empty() && !listIsOnScreen()) {
        showListAgain(target);
        return;
    }
    if (token == KVKeyboardSpaceToken) {
        typeSpaceToken(target);
    } else if (token == KVKeyboardBackspaceToken) {
        typeBackspaceToken(target);
    } else {
        typeKeyToken(token, target);
    }
}

void KVInputController::typeSpaceToken(TextClient* client) {
    if (!_command.empty()) {
        const std::string text = std::exchange(_command, std::string());
        if (!performCommand(text, client)) {
            replayCode(text, true, client);
        }
        return;
    }
    if (!_engine->candidates.empty()) {
        moveHighlightToNextPageWrapping();
        return;
    }
    if (_engine->code.empty()) {
        if (client != nullptr) {
            client->insertText(_fullwidthMode ? u"\u3000" : u" ", Range::notFound());
        }
        return;
    }
    if (_table) {
        KVReloadUserDictionary();
    }
    applyAction(_engine->trigger(), client);
}

void KVInputController::typeBackspaceToken(TextClient* client) {
    if (!_command.empty()) {
        _command.pop_back();
        if (_command.empty()) {
            clearMarkedTextForClient(client);
        } else {
            showRawReading(_command, client);
        }
        return;
    }
    if (!_engine->candidates.empty()) {
        applyAction(_engine->cancel(), client);
        return;
    }
    if (!_engine->code.empty()) {
        applyAction(_engine->backspace(), client);
        return;
    }
    deleteBackwardInClient(client);
}

void KVInputController::typeKeyToken(std::string_view token, TextClient* client) {
    const std::u16string units = Transforms::utf8ToUtf16(token);
    // The keyboard's keys are ASCII; any other character is no key of the table.
    if (units.empty() || units.front() > 0x7F) {
        return;
    }
    const char key = static_cast<char>(units.front());
    // On-screen keys take no part in typed commands: one ends a collected command as a physical
    // key that no command continues does, so no letters stay collected out of sight.
    if (!_command.empty()) {
        endCommandAsCode(client);
    }
    if (_engine->candidates.empty()) {
        const cqinput::EngineAction action = _engine->pressCode(key);
        if (action.kind != cqinput::ActionKind::None) {
            applyAction(action, client);
        }
        return;
    }
    const std::string lowered = Transforms::utf16ToUtf8(transforms().lowercase(units));
    if (const std::optional<std::int64_t> row = SelectionRow(lowered, _letterSelection)) {
        const std::int64_t index = visiblePageStart() + *row;
        if (index < candidateCount()) {
            applyChoice(index, client);
        }
        return;
    }
    applyChoice(_candidateIndex, client);
    applyAction(_engine->pressCode(key), client);
}

}  // namespace kv
