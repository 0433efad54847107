// SPDX-License-Identifier: MIT
// Which input method framework ime-enlist registers with, when a session may run two.
#pragma once

#include <string_view>

namespace kv {

enum class InputFramework { IBus, Fcitx5 };

// What the session offers: whether each framework answers, and the variables through which the
// session's applications choose one (empty when unset).
struct SessionFrameworks {
    bool fcitx5Runs = false;
    bool ibusAnswers = false;
    std::string_view gtkIMModule;  // GTK_IM_MODULE
    std::string_view xmodifiers;   // XMODIFIERS
};

// The framework that answers; with both, the one the session's applications use (GTK_IM_MODULE,
// then XMODIFIERS' `@im=`), else fcitx5, which a session offering both most likely started
// last. With neither, IBus: its registration installs the description for a daemon yet to start
// and reports that none is reachable.
InputFramework ChooseInputFramework(const SessionFrameworks& session);

}  // namespace kv
