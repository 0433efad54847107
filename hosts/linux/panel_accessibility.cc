// SPDX-License-Identifier: MIT
#include "hosts/linux/panel_accessibility.h"

#include <algorithm>
#include <string>

#include "hosts/linux/candidate_toolbar.h"

namespace kv {

namespace {

using Role = AccessibleElement::Role;

Rect Offset(const Rect& frame, const Rect& in) {
    return frame.offsetBy(in.minX(), in.minY());
}

Rect Union(const Rect& a, const Rect& b) {
    const double x = std::min(a.minX(), b.minX());
    const double y = std::min(a.minY(), b.minY());
    return {x, y, std::max(a.maxX(), b.maxX()) - x, std::max(a.maxY(), b.maxY()) - y};
}

AccessibleElement CandidateList(KVCandidateWindow& window) {
    AccessibleElement list{Role::List, window.titleLabel().text, {}, false, {}, {}, {}};
    const std::int64_t highlight = window.selectedIndex() - window.pageStart();
    bool first = true;
    for (std::size_t r = 0; r < KVCandidateWindow::kPageSize; ++r) {
        if (window.text(r).hidden || window.row(r).hidden) {
            continue;
        }
        const Rect frame = window.row(r).frame;
        list.frame = first ? frame : Union(list.frame, frame);
        first = false;
        std::string name = window.number(r).text + " " + window.text(r).text;
        const Button& button = window.rowButton(r);
        list.children.push_back({Role::ListItem,
                                 std::move(name),
                                 frame,
                                 static_cast<std::int64_t>(r) == highlight,
                                 {},
                                 [&window, &button] { window.rowClicked(button); },
                                 {}});
    }
    return list;
}

}  // namespace

std::vector<AccessibleElement> CandidateAccessibleElements(KVCandidateWindow& window) {
    std::vector<AccessibleElement> parts;
    if (!window.panel().isVisible()) {
        return parts;
    }
    if (!window.toolbarOnly()) {
        parts.push_back(CandidateList(window));
    }
    const Rect toolbar = window.toolbar().frame;
    const Label& page = window.pageLabel();
    if (!window.toolbarOnly() && !page.hidden && !page.text.empty()) {
        parts.push_back({Role::Label, page.text, Offset(page.frame, toolbar), false, {}, {}, {}});
    }
    for (const CandidateToolbarButton& entry : kCandidateToolbarButtons) {
        const Button& button = (window.*entry.button)();
        if (button.hidden) {
            continue;
        }
        std::string name = CandidateToolbarName(window, entry);
        parts.push_back({Role::PushButton,
                         name,
                         Offset(button.frame, toolbar),
                         false,
                         name,
                         [&window, action = entry.action] { (window.*action)(); },
                         {}});
    }
    return parts;
}

void InstallPanelAccessibility(KVCandidateWindow& candidates, KVKeyboardWindow& keyboard) {
    candidates.panel().accessibleElements = [&candidates] {
        return CandidateAccessibleElements(candidates);
    };
    keyboard.panel().accessibleElements = [&keyboard] {
        if (!keyboard.panel().isVisible()) {
            return std::vector<AccessibleElement>();
        }
        return keyboard.keyboardView().accessibleElements();
    };
}

}  // namespace kv
