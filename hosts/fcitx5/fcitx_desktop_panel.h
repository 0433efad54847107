// SPDX-License-Identifier: MIT
// The candidate window as fcitx5 shows it: the page the window shows becomes the focused
// context's candidate list, the reading and the page label its auxiliary text. What is shown
// stays the candidate window's decision; this body only hands its one value to fcitx5, which
// draws it (its own window on X11 and Wayland, the desktop's panel on KDE, or the client).
#pragma once

#include <fcitx/inputcontext.h>

#include <functional>
#include <memory>
#include <string>

#include "candidates/candidate_window.h"

namespace kv {

// What the body reaches of the addon; gone with the addon.
struct FcitxPanelLink {
    std::function<fcitx::InputContext*()> focusedContext;
    // Turns the page of the focused session, as its page keys do.
    std::function<void(bool forward)> turnPage;
    // The toolbar's titles changed (繁 to 簡, 半 to 全).
    std::function<void()> toolbarChanged;
};

class FcitxDesktopPanel final : public PanelBody {
  public:
    FcitxDesktopPanel(KVCandidateWindow& window, std::weak_ptr<const FcitxPanelLink> link);
    void panelDidChange(const Panel& panel) override;

  private:
    KVCandidateWindow& _window;
    std::weak_ptr<const FcitxPanelLink> _link;
    std::string _toolbarTitles;
};

}  // namespace kv
