// SPDX-License-Identifier: MIT
#include "platform/linux/xdg_locations.h"

#include <glib.h>

#include <cstdlib>

#include "platform/private_directories.h"

namespace kv {

namespace {

std::filesystem::path Home() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    return g_get_home_dir();
}

// Relative values are invalid by the XDG rules and are ignored.
std::filesystem::path FromEnvironment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    return Home() / fallback;
}

}  // namespace

std::filesystem::path XdgDataHome() {
    return FromEnvironment("XDG_DATA_HOME", ".local/share");
}

std::filesystem::path XdgConfigHome() {
    return FromEnvironment("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path XdgStateHome() {
    return FromEnvironment("XDG_STATE_HOME", ".local/state");
}

std::optional<std::filesystem::path> XdgLocations::applicationSupportDirectory() const {
    const std::filesystem::path directory = XdgDataHome();
    if (!CreatePrivateDirectories(directory)) {
        return std::nullopt;
    }
    return directory;
}

}  // namespace kv
