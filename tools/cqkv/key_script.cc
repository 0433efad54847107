// SPDX-License-Identifier: MIT
#include "tools/cqkv/key_script.h"

#include <charconv>

namespace kv {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// The index of "{choose N}": decimal digits only, and small enough for a size.
std::optional<std::size_t> ParseIndex(std::string_view digits) {
    std::size_t index = 0;
    const char* const end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, index);
    if (digits.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return index;
}

// One "{...}" token; `token` includes both braces.
std::optional<std::string> ParseToken(std::string_view token, KeyOp& op) {
    const std::string_view name = token.substr(1, token.size() - 2);
    op.text = std::string(token);
    if (name == "space") {
        op.kind = KeyOpKind::Trigger;
    } else if (name == "bs") {
        op.kind = KeyOpKind::Backspace;
    } else if (name == "esc") {
        op.kind = KeyOpKind::Cancel;
    } else if (name == "choose" || name.starts_with("choose ")) {
        std::string_view digits = name.substr(6);
        while (!digits.empty() && digits.front() == ' ') {
            digits.remove_prefix(1);
        }
        const std::optional<std::size_t> index = ParseIndex(digits);
        if (!index) {
            return Quoted(token) + ": the index must be a number from 0, as in {choose 1}";
        }
        op.kind = KeyOpKind::Choose;
        op.index = *index;
    } else {
        return "unknown key " + Quoted(token) + " (known: {space} {bs} {esc} {choose N})";
    }
    return std::nullopt;
}

}  // namespace

std::optional<KeyScriptError> parseKeyScript(std::string_view script, std::vector<KeyOp>& ops) {
    std::size_t i = 0;
    while (i < script.size()) {
        const char c = script[i];
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        KeyOp op;
        if (c == '{') {
            const std::size_t close = script.find('}', i);
            const std::size_t nextOpen = script.find('{', i + 1);
            if (close == std::string_view::npos || nextOpen < close) {
                return KeyScriptError{
                    i, "the \"{\" at position " + std::to_string(i) + " is not closed by \"}\""};
            }
            if (std::optional<std::string> message =
                    ParseToken(script.substr(i, close - i + 1), op)) {
                return KeyScriptError{i, std::move(*message)};
            }
            i = close + 1;
        } else if (static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F) {
            op.key = c;
            op.text = std::string(1, c);
            ++i;
        } else {
            return KeyScriptError{i, "the byte at position " + std::to_string(i) +
                                         " is not a key: keys are printable ASCII characters"};
        }
        ops.push_back(std::move(op));
    }
    return std::nullopt;
}

cqinput::EngineAction applyKeyOp(cqinput::InputEngine& engine, const KeyOp& op) {
    switch (op.kind) {
        case KeyOpKind::Press:
            return engine.pressCode(op.key);
        case KeyOpKind::Trigger:
            return engine.trigger();
        case KeyOpKind::Backspace:
            return engine.backspace();
        case KeyOpKind::Cancel:
            return engine.cancel();
        case KeyOpKind::Choose:
            return engine.choose(op.index);
    }
    return {};
}

std::string_view actionKindName(cqinput::ActionKind kind) {
    switch (kind) {
        case cqinput::ActionKind::None:
            return "None";
        case cqinput::ActionKind::Compose:
            return "Compose";
        case cqinput::ActionKind::ShowCandidates:
            return "ShowCandidates";
        case cqinput::ActionKind::Commit:
            return "Commit";
        case cqinput::ActionKind::Clear:
            return "Clear";
        case cqinput::ActionKind::Reject:
            return "Reject";
    }
    return "Unknown";
}

}  // namespace kv
