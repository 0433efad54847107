// SPDX-License-Identifier: MIT
#include "testing/session_script.h"

#include <array>
#include <charconv>
#include <cmath>

#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_view.h"
#include "testing/us_key_events.h"

namespace kv {

namespace {

struct Prefix {
    std::string_view text;
    std::uint64_t flag;
};

constexpr std::array<Prefix, 4> kPrefixes{{
    {"Shift+", ModifierFlags::Shift},
    {"Ctrl+", ModifierFlags::Control},
    {"Alt+", ModifierFlags::Option},
    {"Cmd+", ModifierFlags::Command},
}};

struct NamedStep {
    std::string_view token;
    SessionStepKind kind;
};

constexpr std::array<NamedStep, 7> kNamedSteps{{
    {"Shift", SessionStepKind::Shift},
    {"CapsLock", SessionStepKind::CapsLock},
    {"activate", SessionStepKind::Activate},
    {"deactivate", SessionStepKind::Deactivate},
    {"app-switch", SessionStepKind::ApplicationSwitch},
    {"settings-saved", SessionStepKind::SettingsSaved},
    {"words-changed", SessionStepKind::WordsChanged},
}};

struct NamedButton {
    std::string_view name;
    ToolbarButton button;
};

constexpr std::array<NamedButton, 5> kButtons{{
    {"script", ToolbarButton::Script},
    {"width", ToolbarButton::Width},
    {"settings", ToolbarButton::Settings},
    {"words", ToolbarButton::Words},
    {"keyboard", ToolbarButton::Keyboard},
}};

// The rest of `token` after `prefix`, when it starts with it.
std::optional<std::string_view> After(std::string_view token, std::string_view prefix) {
    if (token.size() <= prefix.size() || token.substr(0, prefix.size()) != prefix) {
        return std::nullopt;
    }
    return token.substr(prefix.size());
}

bool IsKeyboardToken(std::string_view token) {
    if (token == KVKeyboardSpaceToken || token == KVKeyboardBackspaceToken) {
        return true;
    }
    if (token.size() != 1) {
        return false;
    }
    for (const std::string_view row : KVKeyboardRows) {
        if (row.find(token.front()) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

std::optional<SessionStep> KeyStep(std::string_view token) {
    std::uint64_t modifiers = 0;
    std::string_view name = token;
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const Prefix& prefix : kPrefixes) {
            if (const std::optional<std::string_view> rest = After(name, prefix.text)) {
                modifiers |= prefix.flag;
                name = *rest;
                stripped = true;
            }
        }
    }
    std::optional<KeyEvent> event = usKeyDown(name, modifiers);
    if (!event) {
        return std::nullopt;
    }
    SessionStep step;
    step.kind = SessionStepKind::Key;
    step.event = std::move(*event);
    return step;
}

std::optional<SessionStep> ParameterStep(std::string_view token) {
    SessionStep step;
    if (const auto key = After(token, "osk:"); key && IsKeyboardToken(*key)) {
        step.kind = SessionStepKind::KeyboardClick;
        step.keyboardToken = std::string(*key);
        return step;
    }
    if (const auto row = After(token, "click:");
        row && row->size() == 1 && (*row)[0] >= '0' && (*row)[0] <= '9') {
        step.kind = SessionStepKind::RowClick;
        step.row = (*row)[0] - '0';
        return step;
    }
    if (const auto name = After(token, "button:")) {
        for (const NamedButton& button : kButtons) {
            if (button.name == *name) {
                step.kind = SessionStepKind::ToolbarButton;
                step.button = button.button;
                return step;
            }
        }
        return std::nullopt;
    }
    if (const auto seconds = After(token, "wait:")) {
        double value = 0;
        const auto [end, error] =
            std::from_chars(seconds->data(), seconds->data() + seconds->size(), value);
        if (error != std::errc() || end != seconds->data() + seconds->size() ||
            !std::isfinite(value) || value < 0) {
            return std::nullopt;
        }
        step.kind = SessionStepKind::Wait;
        step.seconds = value;
        return step;
    }
    if (const auto session = After(token, "session:")) {
        step.kind = SessionStepKind::SwitchSession;
        step.session = std::string(*session);
        return step;
    }
    return std::nullopt;
}

}  // namespace

std::optional<SessionStep> parseSessionStep(std::string_view token) {
    std::optional<SessionStep> step;
    for (const NamedStep& named : kNamedSteps) {
        if (named.token == token) {
            step = SessionStep{};
            step->kind = named.kind;
        }
    }
    if (!step) {
        step = ParameterStep(token);
    }
    if (!step) {
        step = KeyStep(token);
    }
    if (step) {
        step->token = std::string(token);
    }
    return step;
}

std::optional<std::vector<SessionStep>> parseSessionScript(std::string_view script,
                                                           std::string& badToken) {
    std::vector<SessionStep> steps;
    std::size_t position = 0;
    while (position < script.size()) {
        const std::size_t start = script.find_first_not_of(" \t\r\n", position);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(script.find_first_of(" \t\r\n", start), script.size());
        const std::string_view token = script.substr(start, end - start);
        std::optional<SessionStep> step = parseSessionStep(token);
        if (!step) {
            badToken = std::string(token);
            return std::nullopt;
        }
        steps.push_back(std::move(*step));
        position = end;
    }
    return steps;
}

}  // namespace kv
