// SPDX-License-Identifier: MIT
// CQInputKV: the input method as an IBus engine process.
//   CQInputKV --ibus   as the daemon starts it from the installed component
//   CQInputKV          registers the component on the running daemon (for developers)
//   CQInputKV --companion   the windows of an input method host that cannot show them itself
//                           (the fcitx5 addon starts it; docs/companion.md)
#include <filesystem>
#include <iostream>
#include <optional>
#include <string_view>

#include "controller/companion_interface.h"
#include "controller/program_entry.h"
#include "hosts/linux/companion_service.h"
#include "hosts/linux/gtk_windows.h"
#include "hosts/linux/ibus_input_method_kit.h"
#include "hosts/linux/linux_services.h"
#include "platform/linux/plist_bundle.h"

namespace {

struct LogStream final : std::streambuf {
    std::string line;
    int overflow(int c) override {
        if (c == '\n') {
            kv::systemLog().write(line);
            line.clear();
        } else if (c != EOF) {
            line += static_cast<char>(c);
        }
        return c;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc > 1 ? std::string_view(argv[1]) : std::string_view();
    const bool byDaemon = mode == "--ibus";
    const std::optional<std::filesystem::path> bundle = kv::PlistBundle::rootOfExecutable();
    if (!bundle) {
        std::cerr << "CQ_Input_KV: the program must run from CQInputKV.app/Contents/MacOS\n";
        return 1;
    }
    // Without a display the engine still types; only its windows stay hidden.
    const bool hasDisplay = kv::KVStartGtkWindows();
    kv::installServices(kv::LinuxServiceSet(*bundle));
    if (mode == kv::companion::kArgument) {
        if (!hasDisplay) {
            kv::systemLog().write("the companion has no display to show its windows on");
            return 1;
        }
        return kv::KVRunCompanion({kv::KVGtkPreferencesWindowMaker(), kv::KVGtkWordsWindowMaker()});
    }
    const std::filesystem::path component =
        *bundle / "Contents" / "Resources" /
        kv::mainBundle().objectForInfoDictionaryKey("KVIBusComponent").value_or("CQInputKV.xml");
    kv::IBusInputMethodKit framework(byDaemon ? kv::IBusInputMethodKit::Start::ByDaemon
                                              : kv::IBusInputMethodKit::Start::Registered,
                                     component);
    LogStream logBuffer;
    std::ostream log(&logBuffer);
    // The services stay installed: the process's windows live until exit and use them.
    const kv::KVWindowBodies bodies =
        hasDisplay
            ? kv::KVWindowBodies{kv::KVGtkPreferencesWindowMaker(), kv::KVGtkWordsWindowMaker()}
            : kv::KVWindowBodies{};
    return kv::KVMain(framework, bodies, log);
}
