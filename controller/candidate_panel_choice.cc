// SPDX-License-Identifier: MIT
#include "controller/candidate_panel_choice.h"

#include "settings/settings_keys.h"

namespace kv {

bool KVUseDesktopPanel(std::string_view choice, const KVPanelSituation& situation) {
    if (choice == CandidatePanelValue::Desktop) {
        return true;
    }
    if (choice == CandidatePanelValue::Own) {
        return false;
    }
    return !situation.windowsAtCaret || (situation.waylandSession && !situation.caretKnown);
}

}  // namespace kv
