// SPDX-License-Identifier: MIT
// Key sequences written as text: "a b {space} {choose 1}". Each printable character is one code
// key; blanks only separate; {space} triggers, {bs} is a backspace, {esc} cancels and
// {choose N} chooses candidate N, counted from 0.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/input_engine.h"

namespace kv {

enum class KeyOpKind { Press, Trigger, Backspace, Cancel, Choose };

struct KeyOp {
    KeyOpKind kind = KeyOpKind::Press;
    char key = 0;           // for Press
    std::size_t index = 0;  // for Choose
    std::string text;       // as written: "a", "{space}", "{choose 1}"
    bool operator==(const KeyOp&) const = default;
};

// What went wrong in a key sequence, for a usage message.
struct KeyScriptError {
    std::size_t position = 0;  // byte offset into the sequence, from 0
    std::string message;
};

// The operations of `script` in order, or the first malformed token: an unknown {name}, a
// {choose} without a decimal index, an unclosed "{", or a byte that is not printable ASCII.
std::optional<KeyScriptError> parseKeyScript(std::string_view script, std::vector<KeyOp>& ops);

// Runs one operation on `engine`.
cqinput::EngineAction applyKeyOp(cqinput::InputEngine& engine, const KeyOp& op);

// "None", "Compose", "ShowCandidates", "Commit", "Clear" or "Reject".
std::string_view actionKindName(cqinput::ActionKind kind);

}  // namespace kv
