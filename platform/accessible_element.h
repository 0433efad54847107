// SPDX-License-Identifier: MIT
// What assistive technology reads of a painted panel: a tree of parts with a role, a name, a
// frame in the panel's content coordinates and, for a list, the selected item. A panel body
// turns it into the desktop's accessibility objects.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/geometry.h"

namespace kv {

struct AccessibleElement {
    enum class Role { List, ListItem, Label, PushButton, Status };

    // Which part this is from one change to the next: a part whose identifier stays keeps its
    // object, so a reader hears its name or state change rather than a new part.
    std::string id;
    Role role = Role::Label;
    std::string name;
    Rect frame;  // in the panel's content coordinates, y upward
    bool selected = false;
    // Shown when the pointer rests on the part; empty for none.
    std::string tooltip;
    // What a press of the part does; empty when it does nothing.
    std::function<void()> press;
    std::vector<AccessibleElement> children;

    // A part with what every part has; the rest is set where it applies.
    static AccessibleElement make(std::string id, Role role, std::string name, const Rect& frame) {
        AccessibleElement part;
        part.id = std::move(id);
        part.role = role;
        part.name = std::move(name);
        part.frame = frame;
        return part;
    }
};

}  // namespace kv
