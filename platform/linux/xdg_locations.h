// SPDX-License-Identifier: MIT
// The XDG base directories, read from the environment at each call (so tests may point them at
// a temporary directory), and the application support directory on them.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/locations.h"

namespace kv {

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::filesystem::path XdgDataHome();
// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::filesystem::path XdgConfigHome();
// $XDG_STATE_HOME when it is an absolute path, else ~/.local/state.
std::filesystem::path XdgStateHome();

class XdgLocations final : public Locations {
  public:
    // XdgDataHome(), created with its parents (0700) when missing.
    std::optional<std::filesystem::path> applicationSupportDirectory() const override;
};

}  // namespace kv
