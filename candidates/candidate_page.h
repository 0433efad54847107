// SPDX-License-Identifier: MIT
// Pages of the candidate list: ten rows a page, labelled and picked by the selection keys. The
// panel, the controller's keys and the pictures of the panel all page by these rules.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kv {

inline constexpr int kCandidatePageSize = 10;

// The rows' labels: the digit row, or the home row when the user picks with letters (the key
// right of "l" is shown as ":").
inline constexpr std::string_view kDigitSelectionKeys = "1234567890";
inline constexpr std::string_view kLetterSelectionKeys = "asdfghjkl:";

constexpr std::string_view SelectionKeys(bool letterSelection) {
    return letterSelection ? kLetterSelectionKeys : kDigitSelectionKeys;
}

// The row the typed, lower-cased character `key` picks, or nothing; with letters, ";" picks the
// row labelled ":".
constexpr std::optional<std::int64_t> SelectionRow(std::string_view key, bool letterSelection) {
    if (key.size() != 1) {
        return std::nullopt;
    }
    const char typed = letterSelection && key.front() == ';' ? ':' : key.front();
    const std::size_t row = SelectionKeys(letterSelection).find(typed);
    if (row == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(row);
}

// The index of the first row of the page that holds candidate `index` (not negative).
constexpr std::int64_t PageStartOf(std::int64_t index) {
    return index / kCandidatePageSize * kCandidatePageSize;
}

// How many pages `count` candidates fill; an empty list is one empty page.
constexpr std::int64_t PageCount(std::int64_t count) {
    return count > 0 ? (count + kCandidatePageSize - 1) / kCandidatePageSize : 1;
}

// How many candidates the page at `pageStart` shows.
constexpr std::int64_t RowsOnPage(std::int64_t count, std::int64_t pageStart) {
    return std::clamp<std::int64_t>(count - pageStart, 0, kCandidatePageSize);
}

// The start of the page `step` pages on from the one at `pageStart` (back for a negative step),
// wrapping round at either end of the list.
constexpr std::int64_t TurnPage(std::int64_t count, std::int64_t pageStart, std::int64_t step) {
    const std::int64_t pages = PageCount(count);
    const std::int64_t page = ((pageStart / kCandidatePageSize + step) % pages + pages) % pages;
    return page * kCandidatePageSize;
}

}  // namespace kv
