// SPDX-License-Identifier: MIT
// What the keyboard paints, where, in which colour and at which font size.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_view.h"
#include "platform/memory/memory_services.h"
#include "settings/settings_keys.h"

namespace kv {
namespace {

using Kind = DrawCommand::Kind;

constexpr Color kNavy = Color::fromRGB255(11, 20, 34);
constexpr Color kSlate = Color::fromRGB255(42, 71, 91);
constexpr Color kMist = Color::fromRGB255(145, 173, 191);
constexpr Color kCapFace = Color::fromRGB255(246, 246, 255);
constexpr Color kCapText = Color::fromRGB255(22, 25, 38);
constexpr Color kWhite = Color::fromRGB255(255, 255, 255);
constexpr Color kRootColors[] = {Color::fromRGB255(16, 132, 93), Color::fromRGB255(28, 94, 174),
                                 Color::fromRGB255(196, 55, 89)};

class KeyboardDrawing : public ::testing::Test {
  protected:
    std::vector<DrawCommand> paint(Size size = {720, 350}) {
        const KVKeyboardView view(Rect({0, 0}, size));
        RecordingCanvas canvas;
        view.draw(canvas, view.bounds());
        return canvas.commands;
    }

    static const DrawCommand& Text(const std::vector<DrawCommand>& commands,
                                   std::string_view text) {
        const auto found = std::find_if(commands.begin(), commands.end(),
                                        [text](const DrawCommand& c) { return c.text == text; });
        EXPECT_NE(found, commands.end()) << text;
        return *found;
    }

    MemoryServices services;
};

TEST_F(KeyboardDrawing, FrameUsesPresetZeroColoursWhenNothingIsStored) {
    const auto commands = paint();
    ASSERT_GE(commands.size(), 5u);
    EXPECT_EQ(commands[0].kind, Kind::FillRect);
    EXPECT_EQ(commands[0].rect, Rect(0, 0, 720, 350));
    EXPECT_EQ(commands[0].color, kNavy);
    EXPECT_EQ(commands[1].rect, Rect(0, 326, 720, 24));
    EXPECT_EQ(commands[1].color, kSlate);
    EXPECT_EQ(commands[2].rect, Rect(335, 337, 50, 3));
    EXPECT_EQ(commands[2].color, kMist);
    EXPECT_EQ(commands[3].kind, Kind::TextInRect);
    EXPECT_EQ(commands[3].text, "×");
    EXPECT_EQ(commands[3].rect, Rect(686, 326, 30, 22));
    EXPECT_EQ(commands[3].style.font, Font::system(17, FontWeight::Bold));
    EXPECT_EQ(commands[3].color, kMist);
    EXPECT_EQ(commands[3].style.alignment, TextAlignment::Left);

    const DrawCommand& outline = commands.back();
    EXPECT_EQ(outline.kind, Kind::StrokeRoundedRect);
    EXPECT_EQ(outline.rect, Rect(0.5, 0.5, 719, 349));
    EXPECT_EQ(outline.radius, 0);
    EXPECT_EQ(outline.lineWidth, 1);
    EXPECT_EQ(outline.color, kSlate);
    // 4 frame steps, 5 per key, 4 per control, 6 dots of the resize grip, the outline.
    EXPECT_EQ(commands.size(), 4u + 47 * 5 + 2 * 4 + 6 + 1);
}

TEST_F(KeyboardDrawing, StoredThemeColoursWinAndKeyCapsKeepTheirOwn) {
    services.defaults().setInteger(SettingsKey::ThemeBackground, 0xFFFFFF);
    services.defaults().setInteger(SettingsKey::ThemeBorder, 0);         // stored black, not absent
    services.defaults().setInteger(SettingsKey::ThemeMuted, 0x1FF8000);  // high bits ignored
    const auto commands = paint();
    EXPECT_EQ(commands[0].color, kWhite);
    EXPECT_EQ(commands[1].color, Color::fromRGB255(0, 0, 0));
    EXPECT_EQ(commands[2].color, Color::fromRGB255(255, 128, 0));
    EXPECT_EQ(commands.back().color, Color::fromRGB255(0, 0, 0));
    EXPECT_EQ(commands[5].kind, Kind::FillRoundedRect);
    EXPECT_EQ(commands[5].color, kCapFace);
    EXPECT_EQ(Text(commands, "A").color, kCapText);
}

TEST_F(KeyboardDrawing, GripAndCloseBoxStayLegibleOnTheStrip) {
    // "極致對比" as Save stores it: light grey marks would vanish into the white strip; the theme's
    // text colour is white too, so they take the key caps' dark text colour.
    const auto store = [this](std::string_view key, int rgb) {
        services.defaults().setInteger(key, rgb);
    };
    store(SettingsKey::ThemeBackground, 0x000000);
    store(SettingsKey::ThemeText, 0xFFFFFF);
    store(SettingsKey::ThemeMuted, 0xDCDCDC);
    store(SettingsKey::ThemeBorder, 0xFFFFFF);
    auto commands = paint();
    EXPECT_EQ(commands[1].color, kWhite);
    EXPECT_EQ(commands[2].color, kCapText);
    EXPECT_EQ(commands[3].color, kCapText);

    // A muted colour too close to a dark strip gives way to the theme's text colour.
    store(SettingsKey::ThemeBorder, 0x202020);
    store(SettingsKey::ThemeMuted, 0x383838);
    store(SettingsKey::ThemeText, 0xFFDD00);
    commands = paint();
    EXPECT_EQ(commands[2].color, Color::fromRGB255(255, 221, 0));
    EXPECT_EQ(commands[3].color, Color::fromRGB255(255, 221, 0));

    // When neither reaches it on a dark strip, white does.
    store(SettingsKey::ThemeText, 0x303030);
    EXPECT_EQ(paint()[2].color, kWhite);
}

TEST_F(KeyboardDrawing, KeyCapShowsItsLabelTopLeftAndItsRootCentredBelow) {
    const auto commands = paint();
    const KVKeyboardView view(Rect(0, 0, 720, 350));
    const Rect a = view.keyRectForRow(2, 0);
    // The cap: shadow, face, outline, then the two texts.
    const auto label = std::find_if(commands.begin(), commands.end(),
                                    [](const DrawCommand& c) { return c.text == "A"; });
    ASSERT_NE(label, commands.end());
    const DrawCommand& shadow = *(label - 3);
    EXPECT_EQ(shadow.kind, Kind::FillRoundedRect);
    EXPECT_EQ(shadow.rect, a.offsetBy(2, -2));
    EXPECT_EQ(shadow.radius, 6);
    EXPECT_EQ(shadow.color, Color::fromRGB255(173, 177, 205));
    EXPECT_EQ((label - 2)->rect, a);
    EXPECT_EQ((label - 1)->kind, Kind::StrokeRoundedRect);
    EXPECT_EQ((label - 1)->lineWidth, 1);
    EXPECT_EQ((label - 1)->color, Color::fromRGB255(31, 35, 54));

    // The measurer is 1 point wide per character and 1.25 × the size high.
    const double labelSize = 0.34 * 52.5;  // 17.85
    EXPECT_EQ(label->style.font, Font::system(labelSize, FontWeight::Semibold));
    EXPECT_DOUBLE_EQ(label->rect.minX(), a.minX() + 6);
    EXPECT_DOUBLE_EQ(label->rect.minY(), a.maxY() - 1.25 * labelSize - 3);

    const DrawCommand& root = *(label + 1);
    EXPECT_EQ(root.text, "日");
    const double rootSize = 0.28 * 52.5;  // 14.7
    EXPECT_EQ(root.style.font, Font::system(rootSize, FontWeight::Medium));
    EXPECT_DOUBLE_EQ(root.rect.minX(), a.midX() - rootSize / 2);
    EXPECT_DOUBLE_EQ(root.rect.minY(), a.minY() + 5);
    EXPECT_EQ(root.color, kRootColors[2]);

    EXPECT_EQ(Text(commands, "\\").color, kCapText);
    EXPECT_EQ((&Text(commands, "\\") + 1)->text, "的");
    EXPECT_EQ(Text(commands, ";").color, kCapText);
}

TEST_F(KeyboardDrawing, RootColoursCycleSoNeighboursNeverMatch) {
    const auto commands = paint();
    auto rootColor = [&](std::size_t row, std::size_t column) {
        const std::string_view key = KVKeyboardRows[row].substr(column, 1);
        return Text(commands, KVKeyboardRootNames().at(key)).color;
    };
    EXPECT_EQ(rootColor(0, 0), kRootColors[0]);
    EXPECT_EQ(rootColor(0, 1), kRootColors[1]);
    EXPECT_EQ(rootColor(1, 0), kRootColors[1]);
    EXPECT_EQ(rootColor(3, 0), kRootColors[0]);
    for (std::size_t row = 0; row < 4; ++row) {
        const std::size_t keys = KVKeyboardRows[row].size();
        for (std::size_t column = 0; column < keys; ++column) {
            if (column + 1 < keys) {
                EXPECT_NE(rootColor(row, column), rootColor(row, column + 1));
            }
            if (row + 1 < 4 && column < KVKeyboardRows[row + 1].size()) {
                EXPECT_NE(rootColor(row, column), rootColor(row + 1, column));
            }
        }
    }
}

TEST_F(KeyboardDrawing, ControlTitlesAreCentredAndStayInsideTheirControls) {
    services.measurer().advance = 0.6;  // "Backspace／刪碼" is 129.6 wide at 18 points
    for (const Size size : {Size{720, 350}, Size{520, 290}, Size{1200, 580}}) {
        const auto commands = paint(size);
        const KVKeyboardView view(Rect({0, 0}, size));
        const DrawCommand& space = Text(commands, "空白／選字");
        const DrawCommand& backspace = Text(commands, "Backspace／刪碼");
        EXPECT_EQ(space.style.font, Font::system(18, FontWeight::Semibold));
        EXPECT_EQ(space.color, kCapText);
        EXPECT_DOUBLE_EQ(space.rect.midX(), view.spaceRect().midX());
        EXPECT_DOUBLE_EQ(space.rect.midY(), view.spaceRect().midY());
        EXPECT_DOUBLE_EQ(backspace.rect.midX(), view.backspaceRect().midX());
        EXPECT_DOUBLE_EQ(backspace.rect.midY(), view.backspaceRect().midY());
        EXPECT_LE(backspace.rect.width(), view.backspaceRect().width() - 12 + 1e-9);
        EXPECT_EQ((&backspace - 3)->rect, view.backspaceRect().offsetBy(2, -2));
        EXPECT_EQ((&backspace - 3)->radius, 7);
        EXPECT_EQ(Text(commands, "×").style.font.pointSize, 17);
    }
    // Only where the title would run past its control is it made smaller.
    EXPECT_EQ(Text(paint({720, 350}), "Backspace／刪碼").style.font.pointSize, 18);
    const Font narrow = Text(paint({520, 290}), "Backspace／刪碼").style.font;
    EXPECT_DOUBLE_EQ(narrow.pointSize, 18 * (111.2 - 12) / 129.6);
    EXPECT_EQ(narrow.weight, FontWeight::Semibold);
}

TEST_F(KeyboardDrawing, KeyFontsGrowWithTheKeysUpToTheirCaps) {
    const auto small = paint({520, 290});  // keys 37.5 high
    EXPECT_DOUBLE_EQ(Text(small, "Q").style.font.pointSize, 0.34 * 37.5);
    EXPECT_DOUBLE_EQ(Text(small, "手").style.font.pointSize, 0.28 * 37.5);
    const auto large = paint({1200, 580});  // keys 110 high
    EXPECT_EQ(Text(large, "Q").style.font.pointSize, 22);
    EXPECT_EQ(Text(large, "手").style.font.pointSize, 17);
    // Key height 62: the root has reached its cap, the label not yet.
    const auto between = paint({720, 116 + 4 * 68});
    EXPECT_DOUBLE_EQ(Text(between, "Q").style.font.pointSize, 0.34 * 62);
    EXPECT_EQ(Text(between, "手").style.font.pointSize, 17);
}

}  // namespace
}  // namespace kv
