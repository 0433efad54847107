// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/fcitx_windows.h"

#include "controller/program_entry.h"
#include "keyboard/keyboard_window.h"
#include "platform/panel.h"

namespace kv {

namespace {

class NoKeyboardBody final : public PanelBody {
  public:
    void panelDidChange(const Panel&) override {}
};

}  // namespace

std::shared_ptr<void> KVPrepareFcitxWindows(fcitx::dbus::Bus&, const std::filesystem::path&) {
    // Until the companion shows them, the windows have no body: asking for them does nothing.
    KVPrepareSharedWindows(KVWindowBodies{});
    KVKeyboardWindow::sharedWindow().panel().attachBody(std::make_unique<NoKeyboardBody>());
    return nullptr;
}

}  // namespace kv
