// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/fcitx_status_actions.h"

#include <fcitx/statusarea.h>
#include <fcitx/userinterface.h>

#include <string>

#include "candidates/candidate_toolbar.h"

namespace kv {

// An action whose label and deed are asked for when fcitx5 needs them.
class FcitxStatusActions::FunctionAction final : public fcitx::Action {
  public:
    using Label = std::function<std::string(fcitx::InputContext*)>;
    using Deed = std::function<void(fcitx::InputContext*)>;

    FunctionAction(Label label, Deed deed, std::string description = {})
        : _label(std::move(label)), _deed(std::move(deed)), _description(std::move(description)) {}

    std::string shortText(fcitx::InputContext* context) const override { return _label(context); }
    std::string longText(fcitx::InputContext*) const override { return _description; }
    std::string icon(fcitx::InputContext*) const override { return {}; }
    void activate(fcitx::InputContext* context) override {
        if (_deed) {
            _deed(context);
        }
    }

  private:
    Label _label;
    Deed _deed;
    std::string _description;
};

FcitxStatusActions::FcitxStatusActions(fcitx::UserInterfaceManager& manager,
                                       KVCandidateWindow& window, ControllerOf controllerOf)
    : _manager(manager), _window(window), _controllerOf(std::move(controllerOf)) {
    for (const CandidateToolbarButton& button : kCandidateToolbarButtons) {
        auto action = std::make_unique<FunctionAction>(
            [&window, &button](fcitx::InputContext*) {
                return CandidateToolbarTitle(window, button);
            },
            [this, &button](fcitx::InputContext* context) {
                (_window.*button.action)();
                // The window changes its titles whether or not it is on screen.
                if (context != nullptr) {
                    update(*context);
                }
            },
            std::string(button.word));
        action->registerAction("cqinputkv-" + std::string(button.key), &_manager);
        _toolbar.push_back(std::move(action));
    }
    _menuAction = std::make_unique<FunctionAction>(
        [this](fcitx::InputContext* context) {
            KVInputController* const controller = _controllerOf(context);
            return controller != nullptr ? controller->menu().title : std::string();
        },
        nullptr);
    _menuAction->setMenu(&_menu);
    _menuAction->registerAction("cqinputkv-menu", &_manager);
}

FcitxStatusActions::~FcitxStatusActions() = default;

void FcitxStatusActions::ensureMenuItems(std::size_t count) {
    while (_menuItems.size() < count) {
        const std::size_t index = _menuItems.size();
        auto item = std::make_unique<FunctionAction>(
            [this, index](fcitx::InputContext* context) {
                KVInputController* const controller = _controllerOf(context);
                if (controller == nullptr) {
                    return std::string();
                }
                const KVMenu menu = controller->menu();
                return index < menu.items.size() ? menu.items[index].title : std::string();
            },
            [this, index](fcitx::InputContext* context) {
                KVInputController* const controller = _controllerOf(context);
                if (controller == nullptr) {
                    return;
                }
                const KVMenu menu = controller->menu();
                if (index < menu.items.size()) {
                    menu.items[index].action();
                }
            });
        item->registerAction("cqinputkv-menu." + std::to_string(index), &_manager);
        _menu.addAction(item.get());
        _menuItems.push_back(std::move(item));
    }
}

void FcitxStatusActions::attach(fcitx::InputContext& context) {
    if (KVInputController* const controller = _controllerOf(&context)) {
        ensureMenuItems(controller->menu().items.size());
    }
    fcitx::StatusArea& area = context.statusArea();
    area.clearGroup(fcitx::StatusGroup::InputMethod);
    area.addAction(fcitx::StatusGroup::InputMethod, _menuAction.get());
    for (const std::unique_ptr<FunctionAction>& action : _toolbar) {
        area.addAction(fcitx::StatusGroup::InputMethod, action.get());
    }
    context.updateUserInterface(fcitx::UserInterfaceComponent::StatusArea);
}

void FcitxStatusActions::detach(fcitx::InputContext& context) {
    context.statusArea().clearGroup(fcitx::StatusGroup::InputMethod);
    context.updateUserInterface(fcitx::UserInterfaceComponent::StatusArea);
}

void FcitxStatusActions::update(fcitx::InputContext& context) {
    for (const std::unique_ptr<FunctionAction>& action : _toolbar) {
        action->update(&context);
    }
    context.updateUserInterface(fcitx::UserInterfaceComponent::StatusArea);
}

}  // namespace kv
