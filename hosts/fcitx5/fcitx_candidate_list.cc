// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/fcitx_candidate_list.h"

#include <fcitx/text.h>

#include <memory>
#include <string>

namespace kv {

namespace {

// A row of the shown page; choosing it is a click on the row.
class FcitxCandidateWord final : public fcitx::CandidateWord {
  public:
    FcitxCandidateWord(const std::string& text, std::size_t row,
                       std::function<void(std::size_t)> clicked)
        : fcitx::CandidateWord(fcitx::Text(text)), _row(row), _clicked(std::move(clicked)) {}

    // The click shows a new list, which may free this word: nothing of it is used after.
    void select(fcitx::InputContext*) const override {
        const std::function<void(std::size_t)> clicked = _clicked;
        const std::size_t row = _row;
        if (clicked) {
            clicked(row);
        }
    }

  private:
    std::size_t _row;
    std::function<void(std::size_t)> _clicked;
};

}  // namespace

FcitxCandidateList::FcitxCandidateList(const KVShownList& list, FcitxListActions actions)
    : _page(list.page), _pageCount(list.pageCount), _actions(std::move(actions)) {
    setPageSize(static_cast<int>(std::max<std::size_t>(list.rows.size(), 1)));
    setLayoutHint(fcitx::CandidateLayoutHint::Vertical);
    setLabels(list.labels);
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
        append<FcitxCandidateWord>(list.rows[r], r, _actions.rowClicked);
    }
    setGlobalCursorIndex(list.highlight ? static_cast<int>(*list.highlight) : -1);
}

// Turning the page shows a new list, which may free this one: nothing of it is used after.
void FcitxCandidateList::prev() {
    const std::function<void(bool)> turn = _actions.turnPage;
    if (hasPrev() && turn) {
        turn(false);
    }
}

void FcitxCandidateList::next() {
    const std::function<void(bool)> turn = _actions.turnPage;
    if (hasNext() && turn) {
        turn(true);
    }
}

}  // namespace kv
