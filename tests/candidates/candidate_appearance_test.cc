// SPDX-License-Identifier: MIT
// The candidate window's colours from the stored theme, and what the records paint.
#include "candidate_test_support.h"
#include "platform/memory/recording_panel.h"
#include "settings/settings_keys.h"

namespace kv::testing {
namespace {

using CandidateAppearanceTest = CandidateWindowTest;

constexpr Color kBlack = Color::fromRGB255(0, 0, 0);
constexpr Color kWhite = Color::fromRGB255(255, 255, 255);
constexpr Color kYellow = Color::fromRGB255(255, 221, 0);
constexpr Color kLightGrey = Color::fromRGB255(220, 220, 220);

TEST_F(CandidateAppearanceTest, HighestContrastPresetWithNoColourKeys) {
    services.defaults().setInteger(SettingsKey::ThemePreset, 9);
    show(Candidates(23), 12);
    const View& content = window->contentView();
    EXPECT_EQ(content.layer.backgroundColor, kBlack);
    EXPECT_EQ(content.layer.borderColor, kWhite);
    EXPECT_EQ(content.layer.borderWidth, 1);
    EXPECT_EQ(content.layer.cornerRadius, 9);
    // A screen that does not composite shows clear corners black: the panel goes square there.
    window->panel().screenComposites = false;
    show(Candidates(23), 12);
    EXPECT_EQ(content.layer.cornerRadius, 0);
    EXPECT_EQ(window->toolbar().layer.backgroundColor, kBlack);
    // Row 2 holds candidate 12.
    EXPECT_EQ(window->row(2).layer.backgroundColor, kYellow);
    EXPECT_EQ(window->number(2).textColor, kBlack);
    EXPECT_EQ(window->text(2).textColor, kBlack);
    EXPECT_EQ(window->row(3).layer.backgroundColor, Color::clear());
    EXPECT_EQ(window->number(3).textColor, kLightGrey);
    EXPECT_EQ(window->text(3).textColor, kWhite);
    EXPECT_EQ(window->titleLabel().textColor, kLightGrey);
    EXPECT_EQ(window->pageLabel().textColor, kLightGrey);
    const Button& script = window->scriptButton();
    EXPECT_FALSE(script.bordered);
    EXPECT_EQ(script.layer.backgroundColor, kYellow);
    EXPECT_EQ(script.layer.cornerRadius, 3);
    EXPECT_EQ(script.attributedTitle(),
              (AttributedTitle{"繁", kBlack, Font::system(14, FontWeight::Semibold)}));
    EXPECT_EQ(window->keyboardButton().attributedTitle()->text, "⌨︎");
}

TEST_F(CandidateAppearanceTest, StoredSelectionOverridesOnlyThatColour) {
    services.defaults().setInteger(SettingsKey::ThemePreset, 9);
    services.defaults().setInteger(SettingsKey::ThemeSelection, 0x123456);
    show(Candidates(3), 1);
    const Color stored = Color::fromRGB255(0x12, 0x34, 0x56);
    EXPECT_EQ(window->row(1).layer.backgroundColor, stored);
    EXPECT_EQ(window->settingsButton().layer.backgroundColor, stored);
    EXPECT_EQ(window->contentView().layer.backgroundColor, kBlack);
    EXPECT_EQ(window->contentView().layer.borderColor, kWhite);
    EXPECT_EQ(window->text(1).textColor, kBlack);
    EXPECT_EQ(window->text(0).textColor, kWhite);
    EXPECT_EQ(window->number(0).textColor, kLightGrey);
}

TEST_F(CandidateAppearanceTest, ThemeIsReadAgainAtEveryShow) {
    services.defaults().setInteger(SettingsKey::ThemePreset, 42);  // read as the last, 9
    show(Candidates(3));
    EXPECT_EQ(window->contentView().layer.backgroundColor, kBlack);
    services.defaults().setInteger(SettingsKey::ThemePreset, 2);
    window->showToolbarAtAnchorRect(kAnchor, false, false, false);
    EXPECT_EQ(window->contentView().layer.backgroundColor, Color::fromRGB255(246, 250, 252));
}

TEST_F(CandidateAppearanceTest, PaintedPanelShowsOnlyPresentRowsAndCutsLongText) {
    services.defaults().setInteger(SettingsKey::ThemePreset, 9);
    std::vector<std::string> list = Candidates(13);
    list[11] = Wide(60);
    show(list, 11);
    ASSERT_EQ(window->panel().frame().width(), 660);
    RecordingCanvas canvas;
    window->panel().content->draw(canvas, Rect({0, 0}, window->panel().frame().size));

    std::vector<std::string> texts;
    const DrawCommand* longText = nullptr;
    for (const DrawCommand& command : canvas.commands) {
        if (command.kind == DrawCommand::Kind::TextInRect) {
            texts.push_back(command.text);
            if (command.text == list[11]) {
                longText = &command;
            }
        }
    }
    // Title, page label, five button titles, then number and text of the three present rows.
    EXPECT_EQ(texts, (std::vector<std::string>{"【澄雀KV】", "2/2", "繁", "半", "⚙︎", "＋",
                                               "⌨︎", "1", "候0", "2", list[11], "3", "候2"}));
    ASSERT_NE(longText, nullptr);
    EXPECT_TRUE(longText->style.truncateTail);
    // Row 1 starts at y 277; its text label sits 48 in and 5.5 up.
    EXPECT_EQ(longText->rect, Rect(5 + 48, 277 + 5.5, 660 - 64 - 18, 23));
    EXPECT_EQ(longText->color, kBlack);

    // The selected row's background, painted in content coordinates.
    bool selectedRowFilled = false;
    for (const DrawCommand& command : canvas.commands) {
        selectedRowFilled |= command.kind == DrawCommand::Kind::FillRoundedRect &&
                             command.rect == Rect(5, 277, 660 - 10 - 18, 34) &&
                             command.color == kYellow;
    }
    EXPECT_TRUE(selectedRowFilled);
}

}  // namespace
}  // namespace kv::testing
