// SPDX-License-Identifier: MIT
// What one step of a replayed session did, as the user would see it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/user_defaults.h"

namespace kv {

struct PanelReport {
    bool visible = false;
    bool toolbar = false;            // the toolbar alone, not the candidate list
    std::vector<std::string> items;  // the candidates of the page shown
    std::int64_t selected = 0;
    std::int64_t pageStart = 0;
    std::string page;  // the page label, "2/3"
    bool follow = false;
};

struct StepReport {
    std::string token;
    std::optional<bool> handled;  // nothing for steps that are no key events
    std::string marked;           // the marked text afterwards
    std::string inserted;         // what was inserted during the step, joined
    int beeps = 0;
    PanelReport panel;
    bool keyboardVisible = false;
    bool keyboardRequested = false;
    std::vector<std::string> windows;  // "settings", "words": shown during the step
    std::vector<std::pair<std::string, DefaultsValue>> settings;  // written during the step
};

}  // namespace kv
