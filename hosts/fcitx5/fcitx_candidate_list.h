// SPDX-License-Identifier: MIT
// The page the candidate window shows, as fcitx5's candidate list: ten rows at most, the
// selection keys as labels, the highlight as cursor. Its page actions and a row's selection go
// back to the candidate window, so paging and choosing stay the controller's.
#pragma once

#include <fcitx/candidatelist.h>

#include <functional>

#include "candidates/shown_list.h"

namespace kv {

struct FcitxListActions {
    std::function<void(bool forward)> turnPage;
    std::function<void(std::size_t row)> rowClicked;
};

class FcitxCandidateList final : public fcitx::CommonCandidateList {
  public:
    FcitxCandidateList(const KVShownList& list, FcitxListActions actions);

    bool hasPrev() const override { return _page > 0; }
    bool hasNext() const override { return _page + 1 < _pageCount; }
    void prev() override;
    void next() override;
    bool usedNextBefore() const override { return _page > 0; }
    int totalPages() const override { return static_cast<int>(_pageCount); }
    int currentPage() const override { return static_cast<int>(_page); }
    void setPage(int) override {}

  private:
    std::size_t _page;
    std::size_t _pageCount;
    FcitxListActions _actions;
};

}  // namespace kv
