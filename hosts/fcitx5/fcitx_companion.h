// SPDX-License-Identifier: MIT
// The addon's side of the companion process (docs/companion.md): the settings window, the words
// window and the on-screen keyboard are GTK windows, which fcitx5's loop cannot run, so their
// bodies here only ask the companion to show them, starting it when it is not running; what the
// user does there comes back as the notifications the controllers already observe.
#pragma once

#include <fcitx-utils/dbus/bus.h>
#include <fcitx-utils/dbus/servicewatcher.h>
#include <fcitx-utils/event.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controller/program_entry.h"
#include "platform/panel.h"

namespace kv {

class FcitxCompanion {
  public:
    // How long a started companion may take to own its name before its requests are dropped.
    static constexpr std::chrono::seconds kStartWithin{10};

    // `executable` is the bundle's program, started with --companion when needed; `loop` is the
    // one `bus` is attached to (it bounds the wait for a start).
    FcitxCompanion(fcitx::dbus::Bus& bus, fcitx::EventLoop& loop, std::filesystem::path executable,
                   std::chrono::milliseconds startWithin = kStartWithin);
    ~FcitxCompanion();
    FcitxCompanion(const FcitxCompanion&) = delete;
    FcitxCompanion& operator=(const FcitxCompanion&) = delete;

    // Bodies for the settings and words windows that ask the companion to show them.
    KVWindowBodies windowBodies();
    // The keyboard panel's body: shows and hides the companion's keyboard as the panel's
    // visibility changes. When the user closes the keyboard there, the process's keyboard
    // (KVKeyboardWindow::sharedWindow()) drops the wish to see it.
    std::unique_ptr<PanelBody> keyboardBody(Panel& panel);

    // Calls `method` of the companion without waiting for a reply; when no process owns the
    // companion's name, starts one and calls once it does.
    void request(std::string_view method);

  private:
    struct Link;

    void ownerChanged(const std::string& owner);
    bool signalled(fcitx::dbus::Message& message);
    void start();
    void giveUp();
    void send(const std::string& method);

    fcitx::dbus::Bus& _bus;
    fcitx::EventLoop& _loop;
    std::filesystem::path _executable;
    std::chrono::milliseconds _startWithin;
    // Reached by the bodies, which the shared windows keep past this object.
    std::shared_ptr<Link> _link;
    fcitx::dbus::ServiceWatcher _watcher;
    std::unique_ptr<fcitx::HandlerTableEntry<fcitx::dbus::ServiceWatcherCallback>> _watch;
    std::unique_ptr<fcitx::dbus::Slot> _signals;
    std::unique_ptr<fcitx::EventSourceTime> _startDeadline;
    std::string _owner;  // the companion's unique name; empty while none runs
    std::vector<std::string> _pending;
    bool _starting = false;
};

}  // namespace kv
