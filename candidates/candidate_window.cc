// SPDX-License-Identifier: MIT
#include "candidates/candidate_window.h"

#include <algorithm>
#include <string>

namespace kv {

namespace {

constexpr std::string_view kTitle = "【澄雀KV】";
constexpr Size kInitialContentSize{380, 450};

// The UTF-8 characters of `text`, each as its own string; a broken sequence counts per byte.
std::vector<std::string> Characters(std::string_view text) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        while (i + length < text.size() &&
               (static_cast<unsigned char>(text[i + length]) & 0xC0u) == 0x80u) {
            ++length;
        }
        characters.emplace_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

std::int64_t Count(const std::vector<std::string>& candidates) {
    return static_cast<std::int64_t>(candidates.size());
}

}  // namespace

template <typename Message>
void KVCandidateWindow::tellDelegate(Message message) {
    // Held for the call, so a delegate that lets go of itself meanwhile stays valid until it
    // returns.
    if (const std::shared_ptr<KVCandidateWindowDelegate> receiver = _delegate.lock()) {
        message(*receiver, *this);
    }
}

KVCandidateWindow::KVCandidateWindow()
    : _selectionKeys(kDigitSelectionKeys), _panel(kInitialContentSize) {
    _panel.level = Panel::Level::Status;
    _panel.opaque = false;
    _panel.backgroundColor = Color::clear();
    _panel.hidesOnDeactivate = false;
    _panel.content = &_panelContent;
    _panel.didMove = [this] { windowDidMove(); };
    _panelContent.wheel = [this](double deltaY) { scrollWheel(deltaY); };

    _content.frame = Rect({0, 0}, kInitialContentSize);
    _content.layer.borderWidth = 1;
    _content.addSubview(_toolbar);
    buildToolbar();
    buildRows();
    _pageSlider.vertical = true;
    _pageSlider.continuous = true;
    _pageSlider.action = [this] { pageSliderChanged(_pageSlider); };
    _content.addSubview(_pageSlider);
}

void KVCandidateWindow::buildToolbar() {
    _titleLabel.text = std::string(kTitle);
    _titleLabel.font = Font::system(15, FontWeight::Semibold);
    _toolbar.addSubview(_titleLabel);
    _pageLabel.text = "1/1";
    _pageLabel.font = Font::monospacedDigitSystem(14);
    _pageLabel.alignment = TextAlignment::Center;
    _toolbar.addSubview(_pageLabel);
    toolbarButton(_scriptButton, "繁", &KVCandidateWindow::toggleScript);
    toolbarButton(_widthButton, "半", &KVCandidateWindow::toggleWidth);
    toolbarButton(_settingsButton, "⚙︎", &KVCandidateWindow::openSettings);
    toolbarButton(_wordsButton, "＋", &KVCandidateWindow::openWords);
    toolbarButton(_keyboardButton, "⌨︎", &KVCandidateWindow::toggleKeyboard);
}

void KVCandidateWindow::toolbarButton(Button& button, std::string_view title, Action action) {
    button.setTitle(title);
    button.font = Font::system(14, FontWeight::Medium);
    button.action = [this, action] { (this->*action)(); };
    _toolbar.addSubview(button);
}

void KVCandidateWindow::buildRows() {
    for (std::size_t i = 0; i < kPageSize; ++i) {
        _content.addSubview(_rows[i]);
        _numbers[i].alignment = TextAlignment::Right;
        _rows[i].addSubview(_numbers[i]);
        _texts[i].truncatesTail = true;
        _rows[i].addSubview(_texts[i]);
        Button& button = _buttons[i];
        button.bordered = false;
        button.transparent = true;
        button.tag = static_cast<std::int64_t>(i);
        button.action = [this, &button] { rowClicked(button); };
        _rows[i].addSubview(button);
    }
}

void KVCandidateWindow::showCandidates(std::vector<std::string> candidates,
                                       std::string_view selectionKeys, std::int64_t selectedIndex,
                                       bool simplified, bool fullwidth, const Rect& anchorRect,
                                       std::string_view reading) {
    _candidates = std::move(candidates);
    _reading = reading;
    _selectionKeys =
        Characters(selectionKeys).size() >= kPageSize ? selectionKeys : kDigitSelectionKeys;
    const std::int64_t index =
        std::max<std::int64_t>(0, std::min(selectedIndex, Count(_candidates) - 1));
    _selectedIndex = index;
    _pageStart = PageStartOf(index);
    _simplified = simplified;
    _fullwidth = fullwidth;
    _anchorRect = anchorRect;
    _toolbarOnly = false;
    _positionAtAnchor = true;
    updateLayout();
    _panel.orderFront();
}

void KVCandidateWindow::showToolbarAtAnchorRect(const Rect& anchorRect, bool simplified,
                                                bool fullwidth, bool follow) {
    _candidates.clear();
    _reading.clear();
    _selectedIndex = 0;
    _pageStart = 0;
    _simplified = simplified;
    _fullwidth = fullwidth;
    _toolbarOnly = true;
    if (follow) {
        // The place the user had before the first follow is where the toolbar goes back to.
        if (!_temporaryFollowing && _panel.isVisible() && !_hasParkedOrigin) {
            _parkedOrigin = _panel.frame().origin;
            _hasParkedOrigin = true;
        }
        _positionAtAnchor = true;
        _temporaryFollowing = true;
        _anchorRect = anchorRect;
        updateLayout();
    } else {
        if (_hasParkedOrigin) {
            _positionAtAnchor = false;
        } else {
            _anchorRect = anchorRect;
            _positionAtAnchor = true;
        }
        _temporaryFollowing = false;
        updateLayout();
        // The first place the toolbar is shown becomes its parked place.
        if (!_hasParkedOrigin) {
            _parkedOrigin = _panel.frame().origin;
            _hasParkedOrigin = true;
        }
    }
    _panel.orderFront();
}

void KVCandidateWindow::selectIndex(std::int64_t index) {
    if (index < 0 || index >= Count(_candidates)) {
        return;
    }
    _selectedIndex = index;
    const std::int64_t page = PageStartOf(index);
    if (page != _pageStart) {
        _pageStart = page;
        // The width follows the widest candidate of the page, so the new page is laid out anew.
        updateLayout();
    } else {
        updateRows();
    }
}

void KVCandidateWindow::hide() {
    _panel.orderOut();
    _candidates.clear();
    _reading.clear();
    _toolbarOnly = false;
    _selectedIndex = 0;
    _pageStart = 0;
}

void KVCandidateWindow::setDelegate(std::weak_ptr<KVCandidateWindowDelegate> delegate) {
    _delegate = std::move(delegate);
}

std::string KVCandidateWindow::pageLabelText() const {
    if (_toolbarOnly) {
        return {};
    }
    return std::to_string(_pageStart / kPageSize + 1) + "/" +
           std::to_string(PageCount(Count(_candidates)));
}

KVShownList KVCandidateWindow::shownList() const {
    KVShownList list;
    list.visible = _panel.isVisible() && !_toolbarOnly;
    if (!list.visible) {
        return list;
    }
    const std::vector<std::string> keys = Characters(_selectionKeys);
    const std::int64_t rows = RowsOnPage(Count(_candidates), _pageStart);
    for (std::int64_t r = 0; r < rows; ++r) {
        list.rows.push_back(_candidates[static_cast<std::size_t>(_pageStart + r)]);
        list.labels.push_back(keys.at(static_cast<std::size_t>(r)));
    }
    const std::int64_t highlight = _selectedIndex - _pageStart;
    if (highlight >= 0 && highlight < rows) {
        list.highlight = static_cast<std::size_t>(highlight);
    }
    list.pageLabel = pageLabelText();
    list.page = static_cast<std::size_t>(_pageStart / kPageSize);
    list.pageCount = static_cast<std::size_t>(PageCount(Count(_candidates)));
    list.reading = _reading;
    return list;
}

void KVCandidateWindow::updateRows() {
    const std::int64_t count = Count(_candidates);
    const std::int64_t pages = PageCount(count);
    const std::int64_t page = _pageStart / kPageSize;
    _pageLabel.text = pageLabelText();
    const std::vector<std::string> keys = Characters(_selectionKeys);
    for (std::size_t r = 0; r < kPageSize; ++r) {
        const std::int64_t k = _pageStart + static_cast<std::int64_t>(r);
        const bool present = k < count;
        _numbers[r].hidden = !present;
        _texts[r].hidden = !present;
        _buttons[r].enabled = present;
        if (r < keys.size()) {
            _numbers[r].text = keys[r];
        }
        _texts[r].text = present ? _candidates[static_cast<std::size_t>(k)] : std::string();
        const bool selected = present && k == _selectedIndex;
        _rows[r].layer.backgroundColor = selected ? _selectionColor : Color::clear();
        _numbers[r].textColor = selected ? _selectedTextColor : _secondaryColor;
        _texts[r].textColor = selected ? _selectedTextColor : _textColor;
    }
    // The slider's top, its maximum, is the first page.
    _pageSlider.setValue(static_cast<double>(pages - 1 - page));
    _panel.setNeedsDisplay();
}

void KVCandidateWindow::shownRowClicked(std::size_t row) {
    if (row < shownList().rows.size()) {
        rowClicked(rowButton(row));
    }
}

void KVCandidateWindow::rowClicked(const Button& sender) {
    const std::int64_t k = _pageStart + sender.tag;
    if (sender.tag >= 0 && k < Count(_candidates)) {
        tellDelegate([k](KVCandidateWindowDelegate& d, KVCandidateWindow& w) {
            d.candidateWindowDidChooseIndex(w, k);
        });
    }
}

void KVCandidateWindow::pageSliderChanged(const Slider& sender) {
    const std::int64_t count = Count(_candidates);
    const std::int64_t last = PageCount(count) - 1;
    const std::int64_t page = std::clamp<std::int64_t>(last - sender.integerValue(), 0, last);
    _pageStart = kPageSize * page;
    // An empty list keeps index 0 rather than pointing before its start.
    _selectedIndex = std::max<std::int64_t>(0, _pageStart >= count - 1 ? count - 1 : _pageStart);
    updateRows();
    const std::int64_t index = _selectedIndex;
    tellDelegate([index](KVCandidateWindowDelegate& d, KVCandidateWindow& w) {
        d.candidateWindowDidMoveToIndex(w, index);
    });
}

void KVCandidateWindow::scrollWheel(double deltaY) {
    const std::int64_t last = PageCount(Count(_candidates)) - 1;
    if (_toolbarOnly || !_panel.isVisible() || last == 0) {
        _wheelTravel = 0;
        return;
    }
    _wheelTravel += deltaY;
    const auto notches = static_cast<std::int64_t>(_wheelTravel);
    if (notches == 0) {
        return;
    }
    _wheelTravel -= static_cast<double>(notches);
    const std::int64_t page = _pageStart / kPageSize;
    const std::int64_t next = std::clamp<std::int64_t>(page + notches, 0, last);
    if (next == page) {
        return;
    }
    // The slider's top is the first page; the wheel moves its knob as a drag would.
    _pageSlider.setValue(static_cast<double>(last - next));
    pageSliderChanged(_pageSlider);
}

void KVCandidateWindow::toggleScript() {
    tellDelegate([](KVCandidateWindowDelegate& d, KVCandidateWindow& w) {
        d.candidateWindowDidToggleScript(w);
    });
}

void KVCandidateWindow::toggleWidth() {
    tellDelegate([](KVCandidateWindowDelegate& d, KVCandidateWindow& w) {
        d.candidateWindowDidToggleWidth(w);
    });
}

void KVCandidateWindow::openSettings() {
    tellDelegate([](KVCandidateWindowDelegate& d, KVCandidateWindow& w) {
        d.candidateWindowDidOpenSettings(w);
    });
}

void KVCandidateWindow::openWords() {
    tellDelegate([](KVCandidateWindowDelegate& d, KVCandidateWindow& w) {
        d.candidateWindowDidOpenWords(w);
    });
}

void KVCandidateWindow::toggleKeyboard() {
    tellDelegate([](KVCandidateWindowDelegate& d, KVCandidateWindow& w) {
        d.candidateWindowDidToggleKeyboard(w);
    });
}

void KVCandidateWindow::windowDidMove() {
    // Only the user's drags park the panel; the program's own moves never do.
    if (!_isPositioning && !_temporaryFollowing && _panel.isVisible()) {
        _parkedOrigin = _panel.frame().origin;
        _hasParkedOrigin = true;
    }
}

KVCandidateWindow& KVCandidatePanel() {
    static KVCandidateWindow window;
    return window;
}

}  // namespace kv
