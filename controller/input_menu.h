// SPDX-License-Identifier: MIT
// The input method's menu as the desktop shows it: a title and items that call the controller.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kv {

struct KVMenuItem {
    std::string title;
    std::string keyEquivalent;     // empty: none
    std::function<void()> action;  // does nothing once its controller is gone
};

struct KVMenu {
    std::string title;
    std::vector<KVMenuItem> items;
};

}  // namespace kv
