// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/fcitx_desktop_panel.h"

#include <fcitx/inputpanel.h>
#include <fcitx/text.h>
#include <fcitx/userinterface.h>

#include "candidates/candidate_toolbar.h"
#include "hosts/fcitx5/fcitx_candidate_list.h"

namespace kv {

FcitxDesktopPanel::FcitxDesktopPanel(KVCandidateWindow& window,
                                     std::weak_ptr<const FcitxPanelLink> link)
    : _window(window), _link(std::move(link)) {}

void FcitxDesktopPanel::panelDidChange(const Panel&) {
    const std::shared_ptr<const FcitxPanelLink> link = _link.lock();
    fcitx::InputContext* const context = link ? link->focusedContext() : nullptr;
    if (context == nullptr) {
        return;
    }
    const std::string titles = CandidateToolbarStates(_window);
    if (titles != _toolbarTitles) {
        _toolbarTitles = titles;
        link->toolbarChanged();
    }
    const KVShownList list = _window.shownList();
    fcitx::InputPanel& panel = context->inputPanel();
    if (!list.visible) {
        panel.setCandidateList(nullptr);
        panel.setAuxUp(fcitx::Text());
    } else {
        KVCandidateWindow& window = _window;
        panel.setCandidateList(std::make_unique<FcitxCandidateList>(
            list, FcitxListActions{link->turnPage,
                                   [&window](std::size_t row) { window.shownRowClicked(row); }}));
        panel.setAuxUp(fcitx::Text(list.caption()));
    }
    context->updateUserInterface(fcitx::UserInterfaceComponent::InputPanel);
}

}  // namespace kv
