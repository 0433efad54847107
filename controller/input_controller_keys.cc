// SPDX-License-Identifier: MIT
// Key handling: for each key-down and modifier change, whether the input method consumes it and
// which operation it means.
#include <algorithm>

#include "candidates/candidate_page.h"
#include "controller/input_controller.h"
#include "platform/key_codes.h"
#include "platform/services.h"
#include "platform/transforms.h"

namespace kv {

namespace {

// The full-width form of each printable ASCII character; a space becomes the ideographic space
// and everything else is kept.
std::u16string FullwidthString(std::u16string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (const char16_t unit : text) {
        if (unit == u' ') {
            wide.push_back(u'\u3000');
        } else if (unit >= 0x21 && unit <= 0x7E) {
            wide.push_back(static_cast<char16_t>(unit + 0xFEE0));
        } else {
            wide.push_back(unit);
        }
    }
    return wide;
}

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Control characters and the function keys' private characters (arrows, page keys...) are no
// text: such a key edits or moves, and must reach the application.
bool IsNonPrinting(char16_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0xF700 && c <= 0xF8FF);
}

}  // namespace

bool KVInputController::handleEvent(const KeyEvent& event, TextClient* client) {
    // Without a table every key belongs to the application.
    if (!_engine) {
        return false;
    }
    switch (event.type) {
        case EventType::FlagsChanged:
            return handleModifierChange(event, client);
        case EventType::KeyDown:
            return handleKeyDown(event, client);
    }
    return false;
}

void KVInputController::toggleChineseMode(TextClient* client) {
    _chineseMode = !_chineseMode;
    clearCompositionForClient(client);
}

bool KVInputController::handleModifierChange(const KeyEvent& event, TextClient* client) {
    // Modifier changes always reach the application too.
    if (!_toggleWithShift) {
        // One event per Caps Lock press: each press toggles, whatever its light shows.
        if (event.keyCode == KeyCode::CapsLock) {
            toggleChineseMode(client);
        }
        return false;
    }
    if (event.keyCode != KeyCode::Shift && event.keyCode != KeyCode::RightShift) {
        return false;
    }
    if ((event.modifierFlags & ModifierFlags::Shift) != 0) {
        if (!_shiftPressed) {
            _shiftPressed = true;
            _shiftUsed = false;
        }
        return false;
    }
    if (!_shiftPressed) {
        return false;
    }
    _shiftPressed = false;
    // Shift that served as a modifier for another key is no toggle.
    if (!_shiftUsed) {
        toggleChineseMode(client);
    }
    return false;
}

bool KVInputController::handleKeyDown(const KeyEvent& event, TextClient* client) {
    if (IsKeypadKeyCode(event.keyCode)) {
        if (_shiftPressed) {
            _shiftUsed = true;
        }
        return false;
    }
    _windows.keyboard.restoreAfterFocus();
    showPersistentToolbarForClient(client, true);
    if (_shiftPressed) {
        _shiftUsed = true;
    }
    // Do not feed a shortcut into the composition: the application handles it.
    if ((event.modifierFlags & CommandLikeModifiers) != 0) {
        return false;
    }
    const bool shift = (event.modifierFlags & ModifierFlags::Shift) != 0;
    if (shift && event.keyCode == KeyCode::Space) {
        setFullwidthMode(!_fullwidthMode);
        return true;
    }
    if (!_chineseMode) {
        return typeInEnglish(event, client);
    }
    return handleChineseKey(event, factsOf(event), client);
}

KVInputController::KeyFacts KVInputController::factsOf(const KeyEvent& event) {
    KeyFacts facts;
    facts.shift = (event.modifierFlags & ModifierFlags::Shift) != 0;
    const char16_t base = event.charactersIgnoringModifiers.empty()
                              ? u'\0'
                              : event.charactersIgnoringModifiers.front();
    // With Shift a symbol key offers its US symbol, whatever the user's layout.
    const char16_t shiftedRoot = facts.shift ? ShiftedRootForKeyCode(event.keyCode) : u'\0';
    const char16_t root = shiftedRoot != 0 ? shiftedRoot : base;
    if (root >= 0x21 && root <= 0x7E) {
        const char byte = static_cast<char>(root);
        facts.codeByte = (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
    }
    facts.shiftedLetter = facts.shift && IsAsciiLetter(base);
    return facts;
}

bool KVInputController::typeInEnglish(const KeyEvent& event, TextClient* client) {
    if (!_fullwidthMode || event.characters.empty() || IsNonPrinting(event.characters[0])) {
        return false;
    }
    insertTyped(event.characters, client);
    return true;
}

bool KVInputController::handleChineseKey(const KeyEvent& event, const KeyFacts& facts,
                                         TextClient* client) {
    if (!_engine->candidates.empty()) {
        // Keys page and choose only in a list the user sees; a hidden list comes back first,
        // as it was left.
        if (!listIsOnScreen()) {
            showListAgain(client);
            return true;
        }
        if (const std::optional<bool> consumed = handleChoosingKey(event, facts, client)) {
            return *consumed;
        }
    }
    if (facts.shiftedLetter) {
        // Shift with a letter abandons the composition and types the letter itself.
        _engine->cancel();
        _command.clear();
        _windows.candidates.hide();
        clearMarkedTextForClient(client);
        return handleShiftedLetter(event, client);
    }
    if (!_command.empty()) {
        return handleCommandKey(event, facts, client);
    }
    return handleComposingKey(event, facts, client);
}

void KVInputController::insertTyped(std::u16string_view text, TextClient* client) {
    if (client == nullptr) {
        return;
    }
    client->insertText(_fullwidthMode ? FullwidthString(text) : std::u16string(text),
                       Range::notFound());
}

bool KVInputController::handleShiftedLetter(const KeyEvent& event, TextClient* client) {
    insertTyped(transforms().lowercase(event.charactersIgnoringModifiers), client);
    showPersistentToolbarForClient(client, true);
    return true;
}

std::int64_t KVInputController::candidateCount() const {
    return _engine ? static_cast<std::int64_t>(_engine->candidates.size()) : 0;
}

std::int64_t KVInputController::visiblePageStart() const {
    // Only asked while this session's list is on screen, so the window's page is this list's.
    return _windows.candidates.pageStart();
}

void KVInputController::moveHighlightToNextPageWrapping() {
    _candidateIndex = TurnPage(candidateCount(), visiblePageStart(), 1);
    updateCandidateSelection();
}

void KVInputController::applyChoice(std::int64_t index, TextClient* client) {
    // A negative index is no candidate; choose() answers None for anything out of range.
    const std::size_t chosen =
        index < 0 ? _engine->candidates.size() : static_cast<std::size_t>(index);
    applyAction(_engine->choose(chosen), client);
}

std::optional<std::int64_t> KVInputController::selectionIndexForKey(const KeyEvent& event,
                                                                    const KeyFacts& facts) const {
    std::optional<std::int64_t> index;
    if (const int row = DigitRowIndex(event.keyCode); row >= 0) {
        index = row;
    }
    if (_letterSelection && !facts.shift && !event.charactersIgnoringModifiers.empty()) {
        const std::string text =
            Transforms::utf16ToUtf8(transforms().lowercase(event.charactersIgnoringModifiers));
        index = SelectionRow(text, true);
    }
    return index;
}

std::optional<bool> KVInputController::moveInList(std::uint16_t keyCode, TextClient* client) {
    const std::int64_t count = candidateCount();
    const std::int64_t pageStart = visiblePageStart();
    const std::int64_t rows = RowsOnPage(count, pageStart);
    // The remainder in [0, rows) also for a step back from row 0.
    const auto wrapRow = [rows](std::int64_t row) { return ((row % rows) + rows) % rows; };
    switch (keyCode) {
        case KeyCode::Return:
            applyChoice(_candidateIndex, client);
            return true;
        case KeyCode::Space:
            moveHighlightToNextPageWrapping();
            return true;
        case KeyCode::Delete:
        case KeyCode::Escape:
            applyAction(_engine->cancel(), client);
            return true;
        case KeyCode::PageUp:
        case KeyCode::LeftArrow:
            _candidateIndex = TurnPage(count, pageStart, -1);
            break;
        case KeyCode::PageDown:
        case KeyCode::RightArrow:
            _candidateIndex = TurnPage(count, pageStart, 1);
            break;
        case KeyCode::DownArrow:
            _candidateIndex = pageStart + wrapRow(_candidateIndex - pageStart + 1);
            break;
        case KeyCode::UpArrow:
            _candidateIndex = pageStart + wrapRow(_candidateIndex - pageStart - 1);
            break;
        default:
            return std::nullopt;
    }
    // Paging lands on the first row of the new page; the window follows the highlight.
    updateCandidateSelection();
    return true;
}

std::optional<bool> KVInputController::handleChoosingKey(const KeyEvent& event,
                                                         const KeyFacts& facts,
                                                         TextClient* client) {
    if (const std::optional<bool> moved = moveInList(event.keyCode, client)) {
        return moved;
    }
    const std::int64_t pageStart = visiblePageStart();
    const std::optional<std::int64_t> selection = selectionIndexForKey(event, facts);
    // A selection key beyond the rows of the page falls through to the keys below.
    if (!facts.shift && selection && pageStart + *selection < candidateCount()) {
        applyChoice(pageStart + *selection, client);
        return true;
    }
    if (facts.shiftedLetter) {
        applyChoice(_candidateIndex, client);
        return handleShiftedLetter(event, client);
    }
    if (facts.codeByte) {
        // Typing on commits the highlighted candidate and starts a new code with the key.
        applyChoice(_candidateIndex, client);
        applyAction(_engine->pressCode(*facts.codeByte), client);
        return true;
    }
    return std::nullopt;
}

bool KVInputController::handleComposingKey(const KeyEvent& event, const KeyFacts& facts,
                                           TextClient* client) {
    const bool composing = !_engine->code.empty();
    switch (event.keyCode) {
        case KeyCode::Return:
        case KeyCode::Space:
            if (!composing) {
                return false;
            }
            applyAction(_engine->trigger(), client);
            return true;
        case KeyCode::Delete:
            if (!composing) {
                return false;
            }
            applyAction(_engine->backspace(), client);
            return true;
        case KeyCode::Escape:
            if (!composing && _engine->candidates.empty()) {
                return false;
            }
            applyAction(_engine->cancel(), client);
            return true;
        default:
            break;
    }
    if (!facts.codeByte) {
        return false;
    }
    if (_engine->candidates.empty() && _engine->code == "cq" &&
        std::string_view("acks").find(*facts.codeByte) != std::string_view::npos) {
        return enterCommandMode(*facts.codeByte, client);
    }
    const cqinput::EngineAction action = _engine->pressCode(*facts.codeByte);
    if (action.kind == cqinput::ActionKind::None) {
        return false;
    }
    applyAction(action, client);
    return true;
}

}  // namespace kv
