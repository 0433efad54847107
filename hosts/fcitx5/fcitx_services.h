// SPDX-License-Identifier: MIT
// The services inside fcitx5's process: its event loop for deferred work, no display of our own
// (fcitx5 draws the list), keys sent back through fcitx5, and the Linux bodies that need no loop.
#pragma once

#include <fcitx/inputcontext.h>
#include <fcitx/instance.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/services.h"

namespace kv {

// The height of the plane the addon places its (undrawn) windows in: fcitx5 gives carets in
// root coordinates with y downward and no screen size, so one screen this tall stands for all.
inline constexpr double kFcitxScreenHeight = 1 << 15;

struct FcitxServiceHooks {
    // The input context that has the focus of the input method, or null.
    std::function<fcitx::InputContext*()> focusedContext;
};

ServiceSet FcitxServiceSet(fcitx::Instance& instance, const std::filesystem::path& bundleRoot,
                           FcitxServiceHooks hooks);

// The bundle holding the loaded addon as Contents/PlugIns/NAME.so.
std::optional<std::filesystem::path> FcitxBundleRoot();

}  // namespace kv
