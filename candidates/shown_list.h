// SPDX-License-Identifier: MIT
// What the candidate list shows at one moment, as a value: for the bodies that show the list
// other than by drawing the window's views (the desktop's own panel, a screen reader).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kv {

struct KVShownList {
    // A list is on screen: false while the window is hidden or shows the toolbar alone.
    bool visible = false;
    std::vector<std::string> rows;         // the page's candidates, top to bottom, as shown
    std::vector<std::string> labels;       // each row's selection key
    std::optional<std::size_t> highlight;  // the highlighted row of the page
    std::string pageLabel;                 // "2/4"
    std::size_t page = 0;                  // the page shown, from 0
    std::size_t pageCount = 0;
    std::string reading;  // the reading the list was shown for

    // The reading and the page label, as a desktop's panel shows them above the list.
    std::string caption() const { return pageLabel.empty() ? reading : reading + "　" + pageLabel; }

    bool operator==(const KVShownList&) const = default;
};

}  // namespace kv
