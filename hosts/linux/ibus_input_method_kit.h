// SPDX-License-Identifier: MIT
// The input method framework on Linux: IBus. The server is a connection to the IBus daemon with
// a factory that makes the engine objects; the event loop is GLib's, shared with GTK.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/input_method_kit.h"

namespace kv {

class IBusInputMethodKit final : public InputMethodKit {
  public:
    enum class Start {
        ByDaemon,   // the daemon started the program from the installed component (--ibus)
        Registered  // a developer started it: the component is registered at run time
    };

    IBusInputMethodKit(Start start, std::filesystem::path componentFile);
    ~IBusInputMethodKit() override;

    std::unique_ptr<IMKServer> createServer(std::string_view name,
                                            std::string_view bundleIdentifier) override;
    // Runs until the daemon goes away or the process is asked to stop.
    void run() override;

  private:
    struct Loop;
    Start _start;
    std::filesystem::path _componentFile;
    std::unique_ptr<Loop> _loop;
};

}  // namespace kv
