// SPDX-License-Identifier: MIT
#include "tools/cqkv/candidate_paging.h"

#include <algorithm>

namespace kv {

namespace {

std::size_t PageCount(std::size_t count) {
    return std::max<std::size_t>(1, (count + kPageSize - 1) / kPageSize);
}

}  // namespace

CandidatePage pageAt(std::size_t count, std::size_t pageStart) {
    const std::size_t pages = PageCount(count);
    const std::size_t page = std::min(pageStart / kPageSize, pages - 1);
    const std::size_t start = page * kPageSize;
    return {start, std::min(kPageSize, count - std::min(count, start)), page + 1, pages};
}

std::size_t nextPageStart(std::size_t count, std::size_t pageStart) {
    const CandidatePage page = pageAt(count, pageStart);
    return page.number == page.pages ? 0 : page.start + kPageSize;
}

std::size_t previousPageStart(std::size_t count, std::size_t pageStart) {
    const CandidatePage page = pageAt(count, pageStart);
    return page.number == 1 ? (page.pages - 1) * kPageSize : page.start - kPageSize;
}

std::optional<std::size_t> selectionRow(char key) {
    const std::size_t row = kSelectionKeys.find(key);
    if (key == '\0' || row == std::string_view::npos) {
        return std::nullopt;
    }
    return row;
}

}  // namespace kv
