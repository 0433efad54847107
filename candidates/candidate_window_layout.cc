// SPDX-License-Identifier: MIT
// The candidate window's look, the geometry of its views and its place on screen.
#include <algorithm>

#include "candidates/candidate_window.h"
#include "platform/services.h"
#include "settings/settings_table.h"

namespace kv {

namespace {

constexpr double kMargin = 5;
constexpr double kToolbarHeight = 38;
constexpr double kExtraHeight = 10;  // with the toolbar, the height of a panel without rows
constexpr double kTextAllowance = 92;
constexpr double kMinimumWidth = 348;
constexpr double kMaximumWidth = 660;
constexpr double kSliderAllowance = 18;
constexpr double kSliderWidth = 16;
constexpr double kMinimumRowHeight = 34;
constexpr double kRowOverFont = 18;
constexpr double kLabelOverFont = 7;
constexpr double kAnchorGap = 4;
constexpr double kButtonWidth = 34;
constexpr double kButtonHeight = 29;
constexpr double kButtonPitch = 36;
constexpr double kButtonsFromRight = 184;
constexpr double kButtonCornerRadius = 3;
constexpr double kContentCornerRadius = 9;
constexpr Font kButtonTitleFont = Font::system(14, FontWeight::Semibold);

}  // namespace

void KVCandidateWindow::updateAppearance() {
    const CandidateWindowSettings settings = KVReadCandidateWindowSettings(standardUserDefaults());
    _backgroundColor = settings.colors[ThemeBackgroundIndex];
    _textColor = settings.colors[ThemeTextIndex];
    _secondaryColor = settings.colors[ThemeMutedIndex];
    _selectionColor = settings.colors[ThemeSelectionIndex];
    _selectedTextColor = settings.colors[ThemeSelectedTextIndex];
    _borderColor = settings.colors[ThemeBorderIndex];

    _content.layer.backgroundColor = _backgroundColor;
    _content.layer.borderColor = _borderColor;
    // Round corners leave the panel's corners clear, which only a compositing screen shows as
    // what lies below; elsewhere they would be black, so the panel stays square there.
    _content.layer.cornerRadius = _panel.screenComposites ? kContentCornerRadius : 0;
    _toolbar.layer.backgroundColor = _backgroundColor;
    _titleLabel.textColor = _secondaryColor;
    _pageLabel.textColor = _secondaryColor;
    // The toolbar buttons are small chips in the selection colour.
    for (Button* button :
         {&_scriptButton, &_widthButton, &_settingsButton, &_wordsButton, &_keyboardButton}) {
        button->bordered = false;
        button->layer.backgroundColor = _selectionColor;
        button->layer.cornerRadius = kButtonCornerRadius;
        button->setAttributedTitle({button->title(), _selectedTextColor, kButtonTitleFont});
    }

    const Font font = Font::system(static_cast<double>(settings.fontSize));
    _rowHeight = std::max(kMinimumRowHeight, font.pointSize + kRowOverFont);
    for (std::size_t r = 0; r < kPageSize; ++r) {
        _numbers[r].font = font;
        _texts[r].font = font;
    }
}

void KVCandidateWindow::updateLayout() {
    // Titles first, so that the styled titles carry the new text.
    _scriptButton.setTitle(_simplified ? "簡" : "繁");
    _widthButton.setTitle(_fullwidth ? "全" : "半");
    updateAppearance();

    // Only the visible page counts, so the width can change from page to page.
    const Font font = _texts[0].font;
    const std::size_t first = static_cast<std::size_t>(_pageStart);
    const std::size_t end = std::min(first + kPageSize, _candidates.size());
    double widest = 0;
    for (std::size_t k = first; k < end; ++k) {
        widest = std::max(widest, textMeasurer().sizeOf(_candidates[k], font).width);
    }
    const double width = std::min(kMaximumWidth, std::max(kMinimumWidth, widest + kTextAllowance));
    // Room for ten rows even on a last page with fewer.
    const double height =
        (_toolbarOnly ? 0 : kPageSize * _rowHeight) + kToolbarHeight + kExtraHeight;
    _panel.setContentSize({width, height});
    _content.frame = Rect(0, 0, width, height);
    layoutToolbar(width, height);

    const bool slider = !_toolbarOnly && _candidates.size() > kPageSize;
    const double allowance = slider ? kSliderAllowance : 0;
    layoutRows(width, height, allowance);
    _pageSlider.hidden = !slider;
    // In the right margin beside the rows, four points shorter than the row block at each end.
    _pageSlider.frame =
        Rect(width - kMargin - kSliderWidth, kMargin + 4, kSliderWidth, kPageSize * _rowHeight - 8);
    const std::size_t pages = (_candidates.size() + kPageSize - 1) / kPageSize;
    _pageSlider.minValue = 0;
    _pageSlider.maxValue = pages > 0 ? static_cast<double>(pages - 1) : 0;
    _pageSlider.numberOfTickMarks = 0;
    _pageSlider.allowsTickMarkValuesOnly = false;
    updateRows();

    if (_positionAtAnchor) {
        positionPanel();
    } else if (_hasParkedOrigin) {
        _isPositioning = true;
        _panel.setFrameOrigin(_parkedOrigin);
        _isPositioning = false;
    }
}

void KVCandidateWindow::layoutToolbar(double width, double height) {
    _toolbar.frame =
        Rect(kMargin, height - kMargin - kToolbarHeight, width - 2 * kMargin, kToolbarHeight);
    _titleLabel.frame = Rect(8, 8, 100, 22);
    _pageLabel.frame = Rect(104, 8, 50, 22);
    // The last button ends six points before the toolbar's right edge.
    double x = _toolbar.bounds().width() - kButtonsFromRight;
    for (Button* button :
         {&_scriptButton, &_widthButton, &_settingsButton, &_wordsButton, &_keyboardButton}) {
        button->frame = Rect(x, 4, kButtonWidth, kButtonHeight);
        x += kButtonPitch;
    }
}

void KVCandidateWindow::layoutRows(double width, double height, double sliderAllowance) {
    const double rowWidth = width - 2 * kMargin - sliderAllowance;
    const double textWidth = std::max(1.0, width - 64 - sliderAllowance);
    const double labelHeight = _texts[0].font.pointSize + kLabelOverFont;
    const double labelY = (_rowHeight - labelHeight) * 0.5;
    const double rowsTop = height - kMargin - kToolbarHeight;
    for (std::size_t r = 0; r < kPageSize; ++r) {
        _rows[r].hidden = _toolbarOnly;
        _rows[r].frame =
            Rect(kMargin, rowsTop - static_cast<double>(r + 1) * _rowHeight, rowWidth, _rowHeight);
        _numbers[r].frame = Rect(8, labelY, 30, labelHeight);
        _texts[r].frame = Rect(48, labelY, textWidth, labelHeight);
        _buttons[r].frame = _rows[r].bounds();
    }
}

void KVCandidateWindow::positionPanel() {
    Rect area;
    if (const std::optional<Screen> main = screens().mainScreen()) {
        area = main->visibleFrame;
    }
    // The screen that holds the anchor, when one does.
    for (const Screen& screen : screens().screens()) {
        if (screen.frame.contains(_anchorRect.origin)) {
            area = screen.visibleFrame;
            break;
        }
    }
    const Size size = _panel.frame().size;
    double y = _anchorRect.minY() - size.height - kAnchorGap;
    if (y < area.minY()) {
        y = _anchorRect.maxY() + kAnchorGap;
    }
    double x = _anchorRect.minX();
    // Lower bound first: a panel larger than the screen keeps its top and right edges on it.
    x = std::min(std::max(x, area.minX()), area.maxX() - size.width);
    y = std::min(std::max(y, area.minY()), area.maxY() - size.height);
    _isPositioning = true;
    _panel.setFrameOrigin({x, y});
    _isPositioning = false;
}

}  // namespace kv
