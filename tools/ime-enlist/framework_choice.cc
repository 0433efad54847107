// SPDX-License-Identifier: MIT
#include "tools/ime-enlist/framework_choice.h"

#include <optional>

namespace kv {

namespace {

// The framework an input module or XIM server's name stands for; nothing for others (xim,
// wayland, a typo).
std::optional<InputFramework> Named(std::string_view name) {
    if (name == "ibus") {
        return InputFramework::IBus;
    }
    if (name == "fcitx" || name == "fcitx5") {
        return InputFramework::Fcitx5;
    }
    return std::nullopt;
}

// The XIM server that XMODIFIERS names, as in `@im=fcitx`.
std::string_view XimServer(std::string_view modifiers) {
    constexpr std::string_view kIm = "@im=";
    const std::size_t start = modifiers.find(kIm);
    if (start == std::string_view::npos) {
        return {};
    }
    const std::string_view rest = modifiers.substr(start + kIm.size());
    return rest.substr(0, rest.find('@'));
}

}  // namespace

InputFramework ChooseInputFramework(const SessionFrameworks& session) {
    if (session.fcitx5Runs != session.ibusAnswers) {
        return session.fcitx5Runs ? InputFramework::Fcitx5 : InputFramework::IBus;
    }
    if (!session.fcitx5Runs) {
        return InputFramework::IBus;
    }
    if (const std::optional<InputFramework> named = Named(session.gtkIMModule)) {
        return *named;
    }
    return Named(XimServer(session.xmodifiers)).value_or(InputFramework::Fcitx5);
}

}  // namespace kv
