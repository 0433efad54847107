// SPDX-License-Identifier: MIT
#include "hosts/linux/ibus_desktop_panel.h"

#include <array>
#include <string>

#include "candidates/candidate_toolbar.h"

namespace kv {

namespace {

using ToolbarProperty = CandidateToolbarButton;
constexpr const auto& kToolbarProperties = kCandidateToolbarButtons;

IBusText* Text(std::string_view text) {
    return ibus_text_new_from_string(std::string(text).c_str());
}

IBusProperty* PropertyOf(const KVCandidateWindow& window, const ToolbarProperty& property) {
    return ibus_property_new(std::string(property.key).c_str(), PROP_TYPE_NORMAL,
                             Text(CandidateToolbarTitle(window, property)), nullptr,
                             Text(property.word), TRUE, TRUE, PROP_STATE_UNCHECKED, nullptr);
}

}  // namespace

IBusDesktopPanel::IBusDesktopPanel(KVCandidateWindow& window,
                                   std::weak_ptr<const IBusEngineLink> link)
    : _window(window), _link(std::move(link)) {}

void IBusDesktopPanel::panelDidChange(const Panel&) {
    const std::shared_ptr<const IBusEngineLink> link = _link.lock();
    IBusEngine* const engine = link ? link->focusedEngine() : nullptr;
    if (engine == nullptr) {
        return;
    }
    updateToolbarProperties(engine);
    const KVShownList list = _window.shownList();
    if (!list.visible) {
        ibus_engine_hide_lookup_table(engine);
        ibus_engine_hide_auxiliary_text(engine);
        return;
    }
    IBusLookupTable* const table =
        ibus_lookup_table_new(KVCandidateWindow::kPageSize, 0, TRUE, FALSE);
    ibus_lookup_table_set_orientation(table, IBUS_ORIENTATION_VERTICAL);
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
        // The table takes the floating texts.
        ibus_lookup_table_append_candidate(table, Text(list.rows[r]));
        ibus_lookup_table_set_label(table, static_cast<guint>(r), Text(list.labels[r]));
    }
    if (list.highlight) {
        ibus_lookup_table_set_cursor_pos(table, static_cast<guint>(*list.highlight));
    }
    // The engine takes the floating table and text.
    ibus_engine_update_lookup_table(engine, table, TRUE);
    ibus_engine_update_auxiliary_text(engine, Text(list.caption()), TRUE);
}

void IBusDesktopPanel::updateToolbarProperties(IBusEngine* engine) {
    const std::string titles = CandidateToolbarStates(_window);
    if (titles == _toolbarTitles) {
        return;
    }
    _toolbarTitles = titles;
    for (const ToolbarProperty& property : kToolbarProperties) {
        ibus_engine_update_property(engine, PropertyOf(_window, property));
    }
}

void IBusDesktopPanel::appendToolbarProperties(const KVCandidateWindow& window,
                                               IBusPropList* list) {
    for (const ToolbarProperty& property : kToolbarProperties) {
        ibus_prop_list_append(list, PropertyOf(window, property));
    }
}

bool IBusDesktopPanel::activateToolbarProperty(KVCandidateWindow& window, std::string_view name) {
    for (const ToolbarProperty& property : kToolbarProperties) {
        if (property.key == name) {
            (window.*property.action)();
            return true;
        }
    }
    return false;
}

void IBusDesktopPanel::candidateClicked(KVCandidateWindow& window, unsigned index) {
    window.shownRowClicked(index);
}

}  // namespace kv
