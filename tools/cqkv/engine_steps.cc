// SPDX-License-Identifier: MIT
#include "tools/cqkv/engine_steps.h"

#include "platform/key_codes.h"

namespace kv {

namespace {

constexpr std::uint64_t kCommandModifiers =
    ModifierFlags::Control | ModifierFlags::Option | ModifierFlags::Command;

std::optional<EngineOperation> NamedKeyOperation(std::uint16_t keyCode) {
    switch (keyCode) {
        case KeyCode::Space:
            return EngineOperation::Trigger;
        case KeyCode::Delete:
            return EngineOperation::Backspace;
        case KeyCode::Escape:
            return EngineOperation::Cancel;
        case KeyCode::Return:
            return EngineOperation::Confirm;
        default:
            return std::nullopt;
    }
}

std::optional<EngineStep> KeyStep(const KeyEvent& event) {
    if ((event.modifierFlags & kCommandModifiers) != 0) {
        return std::nullopt;
    }
    EngineStep step;
    if (const std::optional<EngineOperation> operation = NamedKeyOperation(event.keyCode)) {
        step.operation = *operation;
        return step;
    }
    if (event.characters.size() != 1 || event.characters[0] <= u' ' ||
        event.characters[0] >= 0x7F) {
        return std::nullopt;
    }
    step.operation = EngineOperation::Press;
    step.key = static_cast<char>(event.characters[0]);
    return step;
}

}  // namespace

std::optional<EngineStep> engineStep(const SessionStep& step) {
    std::optional<EngineStep> result;
    if (step.kind == SessionStepKind::Key) {
        result = KeyStep(step.event);
    } else if (step.kind == SessionStepKind::RowClick) {
        result = EngineStep{EngineOperation::Choose, 0, static_cast<std::size_t>(step.row), {}};
    }
    if (result) {
        result->token = step.token;
    }
    return result;
}

cqinput::EngineAction applyEngineStep(cqinput::InputEngine& engine, const EngineStep& step) {
    switch (step.operation) {
        case EngineOperation::Press:
            return engine.pressCode(step.key);
        case EngineOperation::Trigger:
            return engine.trigger();
        case EngineOperation::Backspace:
            return engine.backspace();
        case EngineOperation::Cancel:
            return engine.cancel();
        case EngineOperation::Confirm:
            return engine.candidates.empty() ? engine.trigger() : engine.choose(0);
        case EngineOperation::Choose:
            return engine.choose(step.index);
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
