// SPDX-License-Identifier: MIT
// The input sources of fcitx5. A bundle is registered by installing its addon and input method
// descriptions into the user's data folder, the addon's library and the icon named by absolute
// path inside the bundle, and asking fcitx5's controller to read them; its input methods are the
// sources, the bundle's identifier that of every input method of its addon. Enabling adds an input
// method to the current group, selecting makes it the current one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/input_sources.h"
#include "platform/linux/glib_ptr.h"

// As GIO declares it, so that users of this header need not include GIO.
using GDBusConnection = struct _GDBusConnection;

namespace kv {

// Error codes are errno values: ENOENT the bundle has no Info.plist or no fcitx5 descriptions,
// EINVAL these cannot be installed (not regular files, no such section, a path fcitx5 cannot
// read back), the file system's error of writing the user's folder, ENOTCONN fcitx5 does not
// run on the session bus, ETIMEDOUT a restarted fcitx5 did not come back with the input method,
// EIO fcitx5 refused a request or did not take the input method into its group.
class FcitxInputSources final : public InputSources {
  public:
    FcitxInputSources();
    ~FcitxInputSources() override;
    FcitxInputSources(const FcitxInputSources&) = delete;
    FcitxInputSources& operator=(const FcitxInputSources&) = delete;

    // Whether fcitx5 owns its name on the session bus. Only the bus is asked: a call to fcitx5
    // before it runs would have the bus start a second one, which then fails to take the name.
    bool running();
    // Where registering installs the descriptions: fcitx5/ under the user's data folder.
    static std::filesystem::path descriptionFolder();

    // Writes the descriptions (atomically; identical ones are left alone) and has fcitx5 read
    // them. New ones are read by a refresh; an addon fcitx5 already knows is read again only by a
    // restart, kept for that case: fcitx5 comes back as `fcitx5 -r`, which also ends an IBus
    // daemon running beside it.
    std::int32_t registerInputSource(const std::filesystem::path& bundle) override;
    // Every input method fcitx5 offers; with `includeAllInstalled` or not, as fcitx5 has no
    // installed-but-hidden ones.
    std::vector<InputSource> createInputSourceList(bool includeAllInstalled) override;
    std::int32_t enableInputSource(const InputSource& source) override;
    // fcitx5 switches the most recent input context; with none at all, the group's default
    // input method changes, the one fcitx5 turns on in the next field.
    std::int32_t selectInputSource(const InputSource& source) override;
    // The input method of the most recent input context; with none, the one fcitx5 turns on in
    // a field, asked of a short-lived context of this process.
    std::optional<InputSource> copyCurrentKeyboardInputSource() override;

  private:
    // The session bus, connected on first use; null when there is none. Never started on demand.
    GDBusConnection* connection();
    InputSource sourceNamed(const std::string& name, std::uint64_t reference);
    std::optional<std::string> currentInputMethod();
    // The input method a field gets once turned on: the group's default one.
    std::optional<std::string> inputMethodOfANewField();
    bool lists(const std::string& name);
    std::int32_t restart();

    GObjectPtr<GDBusConnection> _connection;
    bool _connectionTried = false;
    // What registering learnt: the bundle's identifier, and the library its addon loads.
    std::optional<std::string> _bundleID;
    std::filesystem::path _library;
    std::map<std::string, std::string> _addonOfInputMethod;
};

}  // namespace kv
