// SPDX-License-Identifier: MIT
// The settings window, the words window and the on-screen keyboard inside fcitx5's process:
// no GTK window may live there (fcitx5's loop is not GLib's), so they run in a companion
// process. This is the one place that gives them their bodies.
#pragma once

#include <fcitx-utils/dbus/bus.h>
#include <fcitx-utils/event.h>

#include <filesystem>
#include <memory>

namespace kv {

// Prepares the shared windows; `bus` is the session bus on fcitx5's `loop` (from its dbus
// addon), `executable` the bundle's program. Returns what must live as long as the addon.
std::shared_ptr<void> KVPrepareFcitxWindows(fcitx::dbus::Bus& bus, fcitx::EventLoop& loop,
                                            const std::filesystem::path& executable);

}  // namespace kv
