// SPDX-License-Identifier: MIT
// The candidate window handed to the desktop, for sessions where the program cannot place its
// own window at the caret (Wayland): the page shown goes out as IBus's lookup table with its
// selection keys as labels, the reading and the page label as auxiliary text, and the toolbar's
// buttons as properties. What is shown stays the candidate window's decision; this body only
// sends its records to the engine's focused context instead of drawing them.
#pragma once

#include <ibus.h>

#include <memory>
#include <string>
#include <string_view>

#include "candidates/candidate_window.h"
#include "hosts/linux/ibus_engine_link.h"

namespace kv {

class IBusDesktopPanel final : public PanelBody {
  public:
    IBusDesktopPanel(KVCandidateWindow& window, std::weak_ptr<const IBusEngineLink> link);
    void panelDidChange(const Panel& panel) override;

    // The toolbar's buttons as properties, to register beside the input menu.
    static void appendToolbarProperties(const KVCandidateWindow& window, IBusPropList* list);
    // A property of the toolbar was activated; false when `name` is none of them.
    static bool activateToolbarProperty(KVCandidateWindow& window, std::string_view name);
    // The desktop panel's own buttons: a click on a row, the page and cursor arrows are keys.
    static void candidateClicked(KVCandidateWindow& window, unsigned index);

  private:
    void updateToolbarProperties(IBusEngine* engine);

    KVCandidateWindow& _window;
    std::weak_ptr<const IBusEngineLink> _link;
    std::string _toolbarTitles;
};

}  // namespace kv
