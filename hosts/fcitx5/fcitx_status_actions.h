// SPDX-License-Identifier: MIT
// The toolbar's five buttons and the input menu's items as fcitx5's status-area actions, with
// the buttons' titles (繁/簡, 半/全) and the items' titles as their labels. Registered once with
// fcitx5's user interface manager; each context using the input method shows them.
#pragma once

#include <fcitx/action.h>
#include <fcitx/inputcontext.h>
#include <fcitx/menu.h>
#include <fcitx/userinterfacemanager.h>

#include <functional>
#include <memory>
#include <vector>

#include "candidates/candidate_window.h"
#include "controller/input_controller.h"

namespace kv {

class FcitxStatusActions {
  public:
    using ControllerOf = std::function<KVInputController*(fcitx::InputContext*)>;

    FcitxStatusActions(fcitx::UserInterfaceManager& manager, KVCandidateWindow& window,
                       ControllerOf controllerOf);
    ~FcitxStatusActions();
    FcitxStatusActions(const FcitxStatusActions&) = delete;
    FcitxStatusActions& operator=(const FcitxStatusActions&) = delete;

    // The context uses the input method now, or no longer.
    void attach(fcitx::InputContext& context);
    static void detach(fcitx::InputContext& context);
    // The labels changed: fcitx5 asks the actions for them again.
    void update(fcitx::InputContext& context);

    class FunctionAction;

  private:
    void ensureMenuItems(std::size_t count);

    fcitx::UserInterfaceManager& _manager;
    KVCandidateWindow& _window;
    ControllerOf _controllerOf;
    std::vector<std::unique_ptr<FunctionAction>> _toolbar;
    std::unique_ptr<FunctionAction> _menuAction;
    fcitx::Menu _menu;
    std::vector<std::unique_ptr<FunctionAction>> _menuItems;
};

}  // namespace kv
