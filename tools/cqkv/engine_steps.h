// SPDX-License-Identifier: MIT
// What the session notation's tokens do to an input engine alone, for `cqkv type`: the keys the
// engine itself answers, without the controller that pages, highlights and reads modifiers.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/input_engine.h"
#include "testing/session_script.h"

namespace kv {

enum class EngineOperation { Press, Trigger, Backspace, Cancel, Confirm, Choose };

struct EngineStep {
    EngineOperation operation = EngineOperation::Press;
    char key = 0;           // Press
    std::size_t index = 0;  // Choose
    std::string token;      // as written: "a", "Space", "click:1"
};

// A printable key without Ctrl, Alt or Cmd presses it; Space triggers; Delete takes the last
// key back; Escape cancels; Return chooses the first candidate when they are shown and triggers
// otherwise; click:N chooses candidate N. Nothing for any other step.
std::optional<EngineStep> engineStep(const SessionStep& step);

cqinput::EngineAction applyEngineStep(cqinput::InputEngine& engine, const EngineStep& step);

// "None", "Compose", "ShowCandidates", "Commit", "Clear" or "Reject".
std::string_view actionKindName(cqinput::ActionKind kind);

}  // namespace kv
