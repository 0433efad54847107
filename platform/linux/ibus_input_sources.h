// SPDX-License-Identifier: MIT
// The input sources of IBus. A bundle is registered by installing its component description
// where the daemon reads components and restarting the daemon; its engines are the sources, the
// component's name their bundle identifier. Enabling preloads an engine, selecting makes it the
// global engine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/input_sources.h"
#include "platform/linux/glib_ptr.h"

// As IBus declares it, so that users of this header need not include IBus.
using IBusBus = struct _IBusBus;

namespace kv {

// Error codes are errno values: ENOENT the bundle has no Info.plist or no component description,
// EINVAL these do not describe a component, the file system's error of writing the component
// folder, ENOTCONN no daemon is reachable, ETIMEDOUT the restarted daemon did not come back with
// the engines, EIO the daemon refused a request, EPERM the settings refused the engine list,
// EAGAIN the desktop kept choosing another engine after the selection.
class IBusInputSources final : public InputSources {
  public:
    IBusInputSources();
    ~IBusInputSources() override;
    IBusInputSources(const IBusInputSources&) = delete;
    IBusInputSources& operator=(const IBusInputSources&) = delete;

    // Where registering installs a description: the first folder of IBUS_COMPONENT_PATH when that
    // is set, as the daemon reads that variable instead of the system's folder.
    static std::filesystem::path componentFolder();
    // Whether a daemon that takes engines answers. fcitx5's IBus frontend answers at the
    // daemon's address too, for the applications, but knows no engines.
    bool daemonAnswers();

    // Returns once the daemon has restarted and lists the bundle's engines; a daemon that already
    // runs with the installed description is left alone.
    std::int32_t registerInputSource(const std::filesystem::path& bundle) override;
    // Every engine the daemon knows; IBus has no installed-but-disabled engines.
    std::vector<InputSource> createInputSourceList(bool includeAllInstalled) override;
    // Adds the engine to the preloaded engines and to the user's list of input methods.
    std::int32_t enableInputSource(const InputSource& source) override;
    // Returns once the engine is attached and has stayed the global engine for a moment: after a
    // restart, the desktop's panel selects its first preloaded engine on its own.
    std::int32_t selectInputSource(const InputSource& source) override;
    std::optional<InputSource> copyCurrentKeyboardInputSource() override;

  private:
    // The daemon's bus, connected on first use so that a run that never needs it stays quiet;
    // null when no daemon is reachable.
    IBusBus* connectedBus();
    std::int32_t restartDaemonKnowing(const std::vector<std::string>& engines);

    GObjectPtr<IBusBus> _bus;
    // The engines preloaded by this process, kept because the daemon does not tell its own list.
    std::vector<std::string> _preloaded;
    // The daemon was restarted while a panel ran, which will come back and choose an engine.
    bool _panelReturning = false;
};

}  // namespace kv
