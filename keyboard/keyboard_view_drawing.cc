// SPDX-License-Identifier: MIT
// Painting of the keyboard view: the themed frame, then key caps and controls in fixed colours.
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <string>

#include "keyboard/keyboard_view.h"
#include "platform/services.h"
#include "settings/settings_table.h"

namespace kv {

namespace {

// Key caps and controls look the same under every theme.
constexpr Color kCapShadow = Color::fromRGB255(173, 177, 205);
constexpr Color kCapFace = Color::fromRGB255(246, 246, 255);
constexpr Color kCapOutline = Color::fromRGB255(31, 35, 54);
constexpr Color kCapText = Color::fromRGB255(22, 25, 38);
constexpr Color kWhite = Color::fromRGB255(255, 255, 255);
// Roots run in diagonal stripes, so neighbours in a row or a column never share a colour.
constexpr std::array<Color, 3> kRootCycle{
    Color::fromRGB255(16, 132, 93),
    Color::fromRGB255(28, 94, 174),
    Color::fromRGB255(196, 55, 89),
};

constexpr double kKeyRadius = 6;
constexpr double kControlRadius = 7;
constexpr double kStripHeight = 24;
constexpr Font kCloseFont = Font::system(17, FontWeight::Bold);
constexpr Font kTitleFont = Font::system(18, FontWeight::Semibold);
constexpr double kTitlePadding = 6;
constexpr std::string_view kCloseGlyph = "×";
constexpr std::string_view kSpaceTitle = "空白／選字";
constexpr std::string_view kBackspaceTitle = "Backspace／刪碼";
constexpr std::string_view kCloseName = "關閉";
constexpr std::string_view kGripName = "調整大小";

// The text colour the strip's marks fall back to, with preset 0's as its fixed fallback.
constexpr ColorRule kTextRule{SettingsKey::ThemeText, ThemeTextIndex,
                              Color::fromRGB255(235, 246, 255)};
// What a mark needs against its background to be made out, as for large text and icons.
constexpr double kMinimumContrast = 3;

// The stored colour under the rule's key, or its fixed fallback. Read at every paint, so a saved
// theme shows at the next repaint.
Color KVKeyboardStoredColor(const ColorRule& rule) {
    return KVReadSetting(standardUserDefaults(), rule);
}

// Relative luminance of an sRGB colour, 0 for black to 1 for white.
double Luminance(const Color& color) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red) + 0.7152 * linear(color.green) + 0.0722 * linear(color.blue);
}

double Contrast(const Color& a, const Color& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The first choice that stands out from `background`, else the last. With a near-black and
// white as the last two, one of them always does: on any background one reaches 4:1.
Color LegibleOn(const Color& background, std::initializer_list<Color> choices) {
    for (const Color& choice : choices) {
        if (Contrast(choice, background) >= kMinimumContrast) {
            return choice;
        }
    }
    return *(choices.end() - 1);
}

// Letters become capitals; digits and punctuation stay as they are.
std::string UppercaseLabel(std::string_view key) {
    std::string label(key);
    std::transform(label.begin(), label.end(), label.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return label;
}

// The title font, made smaller only where the title would run past its control: near the
// smallest panel width "Backspace／刪碼" is wider than the backspace control.
Font TitleFontToFit(std::string_view title, double room) {
    const double width = textMeasurer().sizeOf(title, kTitleFont).width;
    if (width <= room || width <= 0 || room <= 0) {
        return kTitleFont;
    }
    return Font::system(kTitleFont.pointSize * room / width, kTitleFont.weight);
}

// A cap's shadow, face and outline: the shadow falls 2 right and 2 down.
void DrawCap(Canvas& canvas, const Rect& rect, double radius) {
    canvas.fillRoundedRect(rect.offsetBy(2, -2), radius, kCapShadow);
    canvas.fillRoundedRect(rect, radius, kCapFace);
    canvas.strokeRoundedRect(rect, radius, 1, kCapOutline);
}

}  // namespace

void KVKeyboardView::drawRect(Canvas& canvas, const Rect& /*dirtyRect*/) const {
    const Color background = KVKeyboardStoredColor(KeyboardRules::Background);
    const Color border = KVKeyboardStoredColor(KeyboardRules::Border);
    // The grip and the close box are the strip's only marks; a theme whose muted colour fades
    // into its border (white on white in the highest-contrast one) would hide them.
    const Color marks = LegibleOn(border, {KVKeyboardStoredColor(KeyboardRules::Muted),
                                           KVKeyboardStoredColor(kTextRule), kCapText, kWhite});
    const Rect whole = bounds();
    const double width = whole.width();
    const double height = whole.height();

    canvas.fillRect(whole, background);
    canvas.fillRect({0, height - kStripHeight, width, kStripHeight}, border);
    canvas.fillRect({width / 2 - 25, height - 13, 50, 3}, marks);
    canvas.drawTextInRect(kCloseGlyph, closeRect(), TextStyle{kCloseFont, marks});

    for (std::size_t row = 0; row < _rows.size(); ++row) {
        const std::string_view keys = _rows[row];
        for (std::size_t column = 0; column < keys.size(); ++column) {
            const std::string_view key = keys.substr(column, 1);
            const auto root = _rootNames.find(key);
            const auto r = static_cast<std::int64_t>(row);
            const auto c = static_cast<std::int64_t>(column);
            drawKey(canvas, keyRectForRow(r, c), key,
                    root == _rootNames.end() ? std::string_view() : root->second, r, c);
        }
    }
    drawControl(canvas, spaceRect(), kSpaceTitle);
    drawControl(canvas, backspaceRect(), kBackspaceTitle);
    drawResizeGrip(canvas,
                   LegibleOn(background, {KVKeyboardStoredColor(KeyboardRules::Muted),
                                          KVKeyboardStoredColor(kTextRule), kCapText, kWhite}));
    // Inset by half the line so the whole outline lies inside the view.
    canvas.strokeRoundedRect(whole.insetBy(0.5, 0.5), 0, 1, border);
}

void KVKeyboardView::drawResizeGrip(Canvas& canvas, const Color& color) const {
    // Six dots in a triangle against the corner, as a resize grip is drawn.
    const Rect grip = resizeGripRect();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; row + column < 3; ++column) {
            canvas.fillRect({grip.maxX() - 7 - 5.0 * column, grip.minY() + 4 + 5.0 * row, 3, 3},
                            color);
        }
    }
}

void KVKeyboardView::drawKey(Canvas& canvas, const Rect& keyRect, std::string_view key,
                             std::string_view root, std::int64_t row, std::int64_t column) const {
    DrawCap(canvas, keyRect, kKeyRadius);
    const double h = keyRect.height();
    const TextMeasurer& measurer = textMeasurer();

    const std::string label = UppercaseLabel(key);
    const Font labelFont = Font::system(std::min(22.0, 0.34 * h), FontWeight::Semibold);
    const Size labelSize = measurer.sizeOf(label, labelFont);
    canvas.drawTextAtPoint(label, {keyRect.minX() + 6, keyRect.maxY() - labelSize.height - 3},
                           labelFont, kCapText);

    if (root.empty()) {
        return;
    }
    const Font rootFont = Font::system(std::min(17.0, 0.28 * h), FontWeight::Medium);
    const Size rootSize = measurer.sizeOf(root, rootFont);
    const Color rootColor = kRootCycle[static_cast<std::size_t>((row + column) % 3)];
    canvas.drawTextAtPoint(root, {keyRect.midX() - rootSize.width / 2, keyRect.minY() + 5},
                           rootFont, rootColor);
}

void KVKeyboardView::drawControl(Canvas& canvas, const Rect& rect, std::string_view title) const {
    DrawCap(canvas, rect, kControlRadius);
    const Font font = TitleFontToFit(title, rect.width() - 2 * kTitlePadding);
    const Size size = textMeasurer().sizeOf(title, font);
    canvas.drawTextAtPoint(title, {rect.midX() - size.width / 2, rect.midY() - size.height / 2},
                           font, kCapText);
}

std::vector<AccessibleElement> KVKeyboardView::accessibleElements() const {
    using Role = AccessibleElement::Role;
    std::vector<AccessibleElement> parts;
    const auto button = [&parts](std::string_view id, std::string name, const Rect& rect,
                                 std::function<void()> press) {
        parts.push_back(
            AccessibleElement::make(std::string(id), Role::PushButton, std::move(name), rect));
        parts.back().press = std::move(press);
    };
    button("close", std::string(kCloseName), closeRect(), [this] {
        if (_closeHandler) {
            _closeHandler();
        }
    });
    for (std::size_t row = 0; row < _rows.size(); ++row) {
        const std::string_view keys = _rows[row];
        for (std::size_t column = 0; column < keys.size(); ++column) {
            const std::string_view key = keys.substr(column, 1);
            const auto root = _rootNames.find(key);
            std::string name = UppercaseLabel(key);
            if (root != _rootNames.end()) {
                name += ' ';
                name += root->second;
            }
            const Rect rect =
                keyRectForRow(static_cast<std::int64_t>(row), static_cast<std::int64_t>(column));
            button(key, std::move(name), rect, [this, key] { sendKey(key); });
        }
    }
    button(KVKeyboardSpaceToken, std::string(kSpaceTitle), spaceRect(),
           [this] { sendKey(KVKeyboardSpaceToken); });
    button(KVKeyboardBackspaceToken, std::string(kBackspaceTitle), backspaceRect(),
           [this] { sendKey(KVKeyboardBackspaceToken); });
    // The grip is dragged, never pressed.
    button("grip", std::string(kGripName), resizeGripRect(), {});
    return parts;
}

}  // namespace kv
