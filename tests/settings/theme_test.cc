// SPDX-License-Identifier: MIT
// The constant lists of the settings: colour keys, presets, names and font sizes.
#include "settings/theme.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/packed_color.h"

namespace kv {
namespace {

TEST(Theme, ColourKeysKeepTheirFixedOrder) {
    EXPECT_EQ(KVThemeColorKeys[ThemeBackgroundIndex], "ThemeBackground");
    EXPECT_EQ(KVThemeColorKeys[ThemeTextIndex], "ThemeText");
    EXPECT_EQ(KVThemeColorKeys[ThemeMutedIndex], "ThemeMuted");
    EXPECT_EQ(KVThemeColorKeys[ThemeSelectionIndex], "ThemeSelection");
    EXPECT_EQ(KVThemeColorKeys[ThemeSelectedTextIndex], "ThemeSelectedText");
    EXPECT_EQ(KVThemeColorKeys[ThemeBorderIndex], "ThemeBorder");
}

TEST(Theme, PresetsMatchTheirNames) {
    const auto themes = KVPreferenceThemes();
    EXPECT_EQ(KVThemePresetNames.front(), "星際深藍");
    EXPECT_EQ(KVThemePresetNames.back(), "極致對比");
    EXPECT_EQ(KVPackedColor(themes[0][ThemeSelectionIndex]), 880787);
    EXPECT_EQ(KVPackedColor(themes[0][ThemeBackgroundIndex]), 0x0B1422);
    EXPECT_EQ(KVPackedColor(themes[2][ThemeTextIndex]), 0x193041);
    EXPECT_EQ(KVPackedColor(themes[9][ThemeSelectionIndex]), 0xFFDD00);
    EXPECT_EQ(KVPackedColor(themes[8][ThemeSelectedTextIndex]), 0x163936);
    for (const ThemeColors& preset : themes) {
        for (const Color& color : preset) {
            EXPECT_EQ(color.alpha, 1.0);
        }
    }
    EXPECT_EQ(KVPreferenceThemes(), themes);
}

TEST(Theme, FontSizesAndTitlesRunInParallel) {
    ASSERT_EQ(KVFontSizeValues.size(), KVFontSizeTitles.size());
    for (std::size_t i = 0; i < KVFontSizeValues.size(); ++i) {
        EXPECT_EQ(std::to_string(KVFontSizeValues[i]) + " px", KVFontSizeTitles[i]);
    }
    EXPECT_EQ(KVFontSizeTitles[2], "18 px");
}

}  // namespace
}  // namespace kv
