// SPDX-License-Identifier: MIT
#include "tools/cqkv/terminal_session.h"

#include <optional>
#include <string_view>

#include "testing/us_key_events.h"

namespace kv {

namespace {

std::optional<std::string_view> KeyName(TerminalKeyKind kind) {
    switch (kind) {
        case TerminalKeyKind::Space:
            return "Space";
        case TerminalKeyKind::Enter:
            return "Return";
        case TerminalKeyKind::Backspace:
            return "Delete";
        case TerminalKeyKind::Escape:
            return "Escape";
        case TerminalKeyKind::Left:
            return "Left";
        case TerminalKeyKind::Right:
            return "Right";
        case TerminalKeyKind::Up:
            return "Up";
        case TerminalKeyKind::Down:
            return "Down";
        case TerminalKeyKind::PageUp:
            return "PageUp";
        case TerminalKeyKind::PageDown:
            return "PageDown";
        default:
            return std::nullopt;
    }
}

// The key-down a US keyboard sends for `key`; a capital letter is its key with Shift.
std::optional<KeyEvent> KeyDownOf(const TerminalKey& key) {
    if (key.kind != TerminalKeyKind::Character) {
        const std::optional<std::string_view> name = KeyName(key.kind);
        return name ? usKeyDown(*name) : std::nullopt;
    }
    if (key.character >= 'A' && key.character <= 'Z') {
        return usKeyDown(std::string(1, static_cast<char>(key.character - 'A' + 'a')),
                         ModifierFlags::Shift);
    }
    return usKeyDown(std::string(1, key.character));
}

void EraseLastCharacter(std::string& text) {
    // The continuation bytes, then the lead byte of the last UTF-8 character.
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0u) == 0x80u) {
        text.pop_back();
    }
    if (!text.empty()) {
        text.pop_back();
    }
}

}  // namespace

TerminalSession::TerminalSession(const SessionOptions& options) : _runner(options) {
    _runner.openSession(_runner.currentSession());
}

bool TerminalSession::hasTable() {
    return _runner.controller(_runner.currentSession()).table() != nullptr;
}

SessionReply TerminalSession::handleKey(const TerminalKey& key) {
    if (key.kind == TerminalKeyKind::Quit) {
        return {.quit = true};
    }
    const std::optional<KeyEvent> event = KeyDownOf(key);
    if (!event) {
        return {};
    }
    SessionStep step;
    step.kind = SessionStepKind::Key;
    step.event = *event;
    _last = _runner.run(step);
    _text += _last.inserted;
    if (_last.handled == false) {
        typeThrough(key);
    }
    return {.beep = _last.beeps > 0};
}

void TerminalSession::typeThrough(const TerminalKey& key) {
    switch (key.kind) {
        case TerminalKeyKind::Character:
            _text += key.character;
            break;
        case TerminalKeyKind::Space:
            _text += ' ';
            break;
        case TerminalKeyKind::Backspace:
            EraseLastCharacter(_text);
            break;
        default:
            break;
    }
}

}  // namespace kv
