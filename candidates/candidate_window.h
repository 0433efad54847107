// SPDX-License-Identifier: MIT
// The one floating candidate panel: ten candidates a page with their selection keys, a page
// label, a page slider and a toolbar, or the toolbar alone next to the insertion point.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "candidates/candidate_page.h"
#include "candidates/candidate_window_delegate.h"
#include "candidates/shown_list.h"
#include "platform/color.h"
#include "platform/geometry.h"
#include "platform/panel.h"
#include "platform/view_panel_content.h"
#include "platform/views.h"

namespace kv {

class KVCandidateWindow {
  public:
    static constexpr int kPageSize = kCandidatePageSize;

    // Builds the panel and its views, hidden; the first show lays them out and colours them.
    KVCandidateWindow();
    KVCandidateWindow(const KVCandidateWindow&) = delete;
    KVCandidateWindow& operator=(const KVCandidateWindow&) = delete;

    // Shows `candidates` (display strings, shown unchanged) next to `anchorRect` in screen
    // coordinates. Keys shorter than ten characters are replaced by "1234567890"; the index is
    // clamped into the list. The window draws no `reading`; a body that shows the list
    // elsewhere shows it beside the page label.
    void showCandidates(std::vector<std::string> candidates, std::string_view selectionKeys,
                        std::int64_t selectedIndex, bool simplified, bool fullwidth,
                        const Rect& anchorRect, std::string_view reading);
    // Shows the toolbar alone: following the anchor, or at the place it was parked.
    void showToolbarAtAnchorRect(const Rect& anchorRect, bool simplified, bool fullwidth,
                                 bool follow);
    // Moves the highlight, turning the page when needed; an index outside the list is ignored.
    void selectIndex(std::int64_t index);
    void hide();
    // The index of the candidate in row 0; a typed selection key adds its position to it.
    std::int64_t pageStart() const { return _pageStart; }

    // Held weakly: once the delegate is gone, clicks and presses go nowhere.
    std::shared_ptr<KVCandidateWindowDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(std::weak_ptr<KVCandidateWindowDelegate> delegate);

    // Sent by the controls and by the panel.
    void rowClicked(const Button& sender);
    void pageSliderChanged(const Slider& sender);
    // The wheel over the list: a notch down shows the next page, up the one before, stopping
    // at either end; a touchpad's fractions of a notch add up.
    void scrollWheel(double deltaY);
    void toggleScript();
    void toggleWidth();
    void openSettings();
    void openWords();
    void toggleKeyboard();
    void windowDidMove();

    // The list as shown now, for the bodies that show it other than by drawing the views.
    KVShownList shownList() const;
    // Such a body's click on `row` of the shown page; nothing for a row the page lacks.
    void shownRowClicked(std::size_t row);

    // What the panel shows, for the bodies and for inspection.
    Panel& panel() { return _panel; }
    const Panel& panel() const { return _panel; }
    const View& contentView() const { return _content; }
    const View& toolbar() const { return _toolbar; }
    const Label& titleLabel() const { return _titleLabel; }
    const Label& pageLabel() const { return _pageLabel; }
    const Button& scriptButton() const { return _scriptButton; }
    const Button& widthButton() const { return _widthButton; }
    const Button& settingsButton() const { return _settingsButton; }
    const Button& wordsButton() const { return _wordsButton; }
    const Button& keyboardButton() const { return _keyboardButton; }
    const View& row(std::size_t r) const { return _rows.at(r); }
    const Label& number(std::size_t r) const { return _numbers.at(r); }
    const Label& text(std::size_t r) const { return _texts.at(r); }
    const Button& rowButton(std::size_t r) const { return _buttons.at(r); }
    const Slider& pageSlider() const { return _pageSlider; }
    std::int64_t selectedIndex() const { return _selectedIndex; }
    double rowHeight() const { return _rowHeight; }
    bool toolbarOnly() const { return _toolbarOnly; }
    bool temporaryFollowing() const { return _temporaryFollowing; }

  private:
    using Action = void (KVCandidateWindow::*)();

    void buildToolbar();
    void buildRows();
    void toolbarButton(Button& button, std::string_view title, Action action);
    void updateRows();
    std::string pageLabelText() const;
    void updateLayout();
    void layoutToolbar(double width, double height);
    void layoutRows(double width, double height, double sliderAllowance);
    void updateAppearance();
    void positionPanel();
    // Calls `message` on the delegate as it is at this moment, if there is one.
    template <typename Message>
    void tellDelegate(Message message);

    View _content;
    View _toolbar;
    Label _titleLabel;
    Label _pageLabel;
    Button _scriptButton;
    Button _widthButton;
    Button _settingsButton;
    Button _wordsButton;
    Button _keyboardButton;
    std::array<View, kPageSize> _rows;
    std::array<Label, kPageSize> _numbers;
    std::array<Label, kPageSize> _texts;
    std::array<Button, kPageSize> _buttons;
    Slider _pageSlider;
    std::vector<std::string> _candidates;
    std::string _selectionKeys;
    std::string _reading;
    std::int64_t _selectedIndex = 0;
    std::int64_t _pageStart = 0;
    Rect _anchorRect;
    bool _simplified = false;
    bool _fullwidth = false;
    bool _toolbarOnly = false;
    bool _positionAtAnchor = false;
    bool _temporaryFollowing = false;
    bool _isPositioning = false;
    bool _hasParkedOrigin = false;
    Point _parkedOrigin;
    double _wheelTravel = 0;  // part of a notch not yet turned into a page
    double _rowHeight = 0;
    Color _backgroundColor;
    Color _textColor;
    Color _selectionColor;
    Color _selectedTextColor;
    Color _secondaryColor;
    Color _borderColor;
    std::weak_ptr<KVCandidateWindowDelegate> _delegate;
    // Last, so that the panel and its body go before the views they show.
    ViewPanelContent _panelContent{_content};
    Panel _panel;
};

// The process's one candidate window, created on first use and kept until the process ends.
KVCandidateWindow& KVCandidatePanel();

}  // namespace kv
