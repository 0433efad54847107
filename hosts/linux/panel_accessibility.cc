// SPDX-License-Identifier: MIT
#include "hosts/linux/panel_accessibility.h"

#include <algorithm>
#include <string>

#include "candidates/candidate_toolbar.h"

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

// The rows' names and the highlight come from the shown list; their places from the views.
AccessibleElement CandidateList(KVCandidateWindow& window, const KVShownList& shown) {
    AccessibleElement list =
        AccessibleElement::make("list", Role::List, window.titleLabel().text, {});
    for (std::size_t r = 0; r < shown.rows.size(); ++r) {
        const Rect frame = window.row(r).frame;
        list.frame = r == 0 ? frame : Union(list.frame, frame);
        std::string name = shown.labels[r] + " " + shown.rows[r];
        const Button& button = window.rowButton(r);
        AccessibleElement item = AccessibleElement::make("row" + std::to_string(r), Role::ListItem,
                                                         std::move(name), frame);
        item.selected = shown.highlight == r;
        item.press = [&window, &button] { window.rowClicked(button); };
        list.children.push_back(std::move(item));
    }
    return list;
}

std::string& Modes() {
    static std::string modes;
    return modes;
}

}  // namespace

std::string AccessibleModesText(bool chinese, bool simplified, bool fullwidth) {
    return std::string(chinese ? "中文" : "英文") + "，" + (simplified ? "簡體" : "繁體") + "，" +
           (fullwidth ? "全形" : "半形");
}

void SetAccessibleModes(KVCandidateWindow& window, std::string modes) {
    if (Modes() == modes) {
        return;
    }
    Modes() = std::move(modes);
    window.panel().setNeedsDisplay();
}

std::vector<AccessibleElement> CandidateAccessibleElements(KVCandidateWindow& window) {
    std::vector<AccessibleElement> parts;
    const Rect toolbar = window.toolbar().frame;
    // The modes stay while the window is hidden, as a switch of mode hides it: the status's
    // change of name is heard all the same.
    if (!Modes().empty()) {
        parts.push_back(AccessibleElement::make("modes", Role::Status, Modes(),
                                                Offset(window.titleLabel().frame, toolbar)));
    }
    if (!window.panel().isVisible()) {
        return parts;
    }
    const KVShownList shown = window.shownList();
    if (shown.visible) {
        parts.insert(parts.begin(), CandidateList(window, shown));
    }
    if (shown.visible && !shown.pageLabel.empty()) {
        parts.push_back(AccessibleElement::make("page", Role::Label, shown.pageLabel,
                                                Offset(window.pageLabel().frame, toolbar)));
    }
    for (const CandidateToolbarButton& entry : kCandidateToolbarButtons) {
        const Button& button = (window.*entry.button)();
        if (button.hidden) {
            continue;
        }
        std::string name = CandidateToolbarName(window, entry);
        AccessibleElement part = AccessibleElement::make(std::string(entry.key), Role::PushButton,
                                                         name, Offset(button.frame, toolbar));
        part.tooltip = name;
        part.press = [&window, action = entry.action] { (window.*action)(); };
        parts.push_back(std::move(part));
    }
    return parts;
}

void InstallPanelAccessibility(KVCandidateWindow& candidates, KVKeyboardWindow& keyboard) {
    candidates.panel().accessibleElements = [&candidates] {
        return CandidateAccessibleElements(candidates);
    };
    InstallKeyboardAccessibility(keyboard);
}

void InstallKeyboardAccessibility(KVKeyboardWindow& keyboard) {
    keyboard.panel().accessibleElements = [&keyboard] {
        if (!keyboard.panel().isVisible()) {
            return std::vector<AccessibleElement>();
        }
        return keyboard.keyboardView().accessibleElements();
    };
}

}  // namespace kv
