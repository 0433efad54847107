// SPDX-License-Identifier: MIT
#include "tools/cqkv/typing_session.h"

namespace kv {

SessionReply TypingSession::handleKey(const TerminalKey& key) {
    _notice.clear();
    if (key.kind == TerminalKeyKind::Quit) {
        return {.quit = true};
    }
    return _engine.candidates.empty() ? handleComposing(key) : handleChoosing(key);
}

SessionReply TypingSession::handleChoosing(const TerminalKey& key) {
    const std::size_t count = _engine.candidates.size();
    switch (key.kind) {
        case TerminalKeyKind::Space:
        case TerminalKeyKind::Right:
        case TerminalKeyKind::Down:
        case TerminalKeyKind::PageDown:
            _pageStart = nextPageStart(count, _pageStart);
            return {};
        case TerminalKeyKind::Left:
        case TerminalKeyKind::Up:
        case TerminalKeyKind::PageUp:
            _pageStart = previousPageStart(count, _pageStart);
            return {};
        case TerminalKeyKind::Enter:
            return apply(_engine.choose(page().start));
        case TerminalKeyKind::Escape:
            return apply(_engine.cancel());
        case TerminalKeyKind::Backspace:
            return apply(_engine.backspace());
        case TerminalKeyKind::Character:
            break;
        default:
            return {.beep = true};
    }
    if (const std::optional<std::size_t> row = selectionRow(key.character)) {
        if (*row < page().rows) {
            return apply(_engine.choose(page().start + *row));
        }
        _notice = "this page has no row " + std::string(1, key.character);
        return {.beep = true};
    }
    // Typing on commits the first row of the page and starts a new code with the key.
    apply(_engine.choose(page().start));
    return pressKey(key.character);
}

SessionReply TypingSession::handleComposing(const TerminalKey& key) {
    const bool composing = !_engine.code.empty();
    switch (key.kind) {
        case TerminalKeyKind::Character:
            return pressKey(key.character);
        case TerminalKeyKind::Space:
            if (!composing) {
                _committed += ' ';
                return {};
            }
            return trigger();
        case TerminalKeyKind::Enter:
            return composing ? trigger() : SessionReply{};
        case TerminalKeyKind::Backspace:
            if (!composing) {
                eraseCommittedCharacter();
                return {};
            }
            return apply(_engine.backspace());
        case TerminalKeyKind::Escape:
            return apply(_engine.cancel());
        default:
            return {};
    }
}

SessionReply TypingSession::pressKey(char key) {
    const bool full = _engine.code.size() >= 6;
    const cqinput::EngineAction action = _engine.pressCode(key);
    if (action.kind == cqinput::ActionKind::None) {
        // Not a code key: it reaches the text as it would reach an application.
        _committed += key;
        return {};
    }
    if (action.kind == cqinput::ActionKind::Reject && full) {
        _notice = "a code has at most 6 keys; the code was dropped";
    }
    return apply(action);
}

SessionReply TypingSession::trigger() {
    const std::string reading = _engine.readingDisplay();
    const cqinput::EngineAction action = _engine.trigger();
    if (action.kind == cqinput::ActionKind::Reject) {
        _notice = "nothing has the code " + reading;
    }
    return apply(action);
}

SessionReply TypingSession::apply(const cqinput::EngineAction& action) {
    _pageStart = 0;
    if (action.kind == cqinput::ActionKind::Commit) {
        _committed += action.text;
    }
    return {.beep = action.kind == cqinput::ActionKind::Reject};
}

void TypingSession::eraseCommittedCharacter() {
    // Remove the continuation bytes, then the lead byte of the last UTF-8 character.
    while (!_committed.empty() &&
           (static_cast<unsigned char>(_committed.back()) & 0xC0u) == 0x80u) {
        _committed.pop_back();
    }
    if (!_committed.empty()) {
        _committed.pop_back();
    }
}

}  // namespace kv
