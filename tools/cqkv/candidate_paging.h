// SPDX-License-Identifier: MIT
// Pages of ten candidates, picked with the keys 1 to 9 and 0.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace kv {

inline constexpr std::size_t kPageSize = 10;
inline constexpr std::string_view kSelectionKeys = "1234567890";

struct CandidatePage {
    std::size_t start = 0;   // index of the first candidate shown, a multiple of 10
    std::size_t rows = 0;    // candidates on this page, 0 to 10
    std::size_t number = 1;  // this page, from 1
    std::size_t pages = 1;   // how many pages, at least 1
    bool operator==(const CandidatePage&) const = default;
};

// The page of `count` candidates that begins at `pageStart` (moved back to the last page, and
// to a multiple of 10, when it lies beyond the list).
CandidatePage pageAt(std::size_t count, std::size_t pageStart);

// The start of the next page, wrapping from the last to the first.
std::size_t nextPageStart(std::size_t count, std::size_t pageStart);

// The start of the previous page, wrapping from the first to the last.
std::size_t previousPageStart(std::size_t count, std::size_t pageStart);

// The row a selection key picks: "1" is row 0, "0" row 9; nothing for other keys.
std::optional<std::size_t> selectionRow(char key);

}  // namespace kv
