// SPDX-License-Identifier: MIT
// ime-enlist: registers the input method bundle with the desktop's input sources, those of fcitx5
// or of IBus, whichever the session uses.
#include <glib.h>

#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/linux/fcitx5_input_sources.h"
#include "platform/linux/ibus_input_sources.h"
#include "tools/ime-enlist/enlist_command.h"
#include "tools/ime-enlist/framework_choice.h"

namespace {

std::string_view Variable(const char* name) {
    const char* value = g_getenv(name);
    return value == nullptr ? std::string_view() : value;
}

// fcitx5 is asked first, by its bus name alone: its IBus frontend would pass for a daemon.
std::unique_ptr<kv::InputSources> SessionInputSources() {
    auto fcitx = std::make_unique<kv::FcitxInputSources>();
    if (!fcitx->running()) {
        return std::make_unique<kv::IBusInputSources>();
    }
    auto ibus = std::make_unique<kv::IBusInputSources>();
    const kv::SessionFrameworks session{true, ibus->daemonAnswers(), Variable("GTK_IM_MODULE"),
                                        Variable("XMODIFIERS")};
    if (kv::ChooseInputFramework(session) == kv::InputFramework::IBus) {
        return ibus;
    }
    return fcitx;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments.size() != 1 && arguments.size() != 2) {
        // A usage error reaches no framework.
        kv::IBusInputSources none;
        return kv::runImeEnlist(arguments, none, std::cout, std::cerr);
    }
    const std::unique_ptr<kv::InputSources> sources = SessionInputSources();
    return kv::runImeEnlist(arguments, *sources, std::cout, std::cerr);
}
