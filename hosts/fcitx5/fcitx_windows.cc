// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/fcitx_windows.h"

#include "controller/program_entry.h"
#include "hosts/fcitx5/fcitx_companion.h"
#include "keyboard/keyboard_window.h"

namespace kv {

std::shared_ptr<void> KVPrepareFcitxWindows(fcitx::dbus::Bus& bus, fcitx::EventLoop& loop,
                                            const std::filesystem::path& executable) {
    auto companion = std::make_shared<FcitxCompanion>(bus, loop, executable);
    KVPrepareSharedWindows(companion->windowBodies());
    Panel& keyboard = KVKeyboardWindow::sharedWindow().panel();
    keyboard.attachBody(companion->keyboardBody(keyboard));
    return companion;
}

}  // namespace kv
