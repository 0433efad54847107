// SPDX-License-Identifier: MIT
// The colour keys in their fixed order, the ten theme presets and the candidate font sizes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/color.h"
#include "settings/settings_keys.h"

namespace kv {

// Positions in KVThemeColorKeys, in every preset and in every list of theme colours.
enum ThemeColorIndex : std::size_t {
    ThemeBackgroundIndex = 0,
    ThemeTextIndex = 1,
    ThemeMutedIndex = 2,
    ThemeSelectionIndex = 3,
    ThemeSelectedTextIndex = 4,
    ThemeBorderIndex = 5,
};

inline constexpr std::size_t KVThemeColorCount = 6;
inline constexpr std::size_t KVThemePresetCount = 10;

// Six colours in KVThemeColorKeys order.
using ThemeColors = std::array<Color, KVThemeColorCount>;

inline constexpr std::array<std::string_view, KVThemeColorCount> KVThemeColorKeys = {
    SettingsKey::ThemeBackground, SettingsKey::ThemeText,         SettingsKey::ThemeMuted,
    SettingsKey::ThemeSelection,  SettingsKey::ThemeSelectedText, SettingsKey::ThemeBorder,
};

// The titles of the theme pop-up; a preset's index is its pop-up index and its ThemePreset value.
inline constexpr std::array<std::string_view, KVThemePresetCount> KVThemePresetNames = {
    "星際深藍", "暮光紫",   "霧白",   "暖沙",   "深海青",
    "石墨金",   "森林晨霧", "櫻霧粉", "紙頁灰", "極致對比",
};

// The ten presets, each six sRGB colours with alpha 1; the same content on every call.
std::array<ThemeColors, KVThemePresetCount> KVPreferenceThemes();

inline constexpr std::array<std::int64_t, 7> KVFontSizeValues = {14, 16, 18, 20, 22, 24, 28};
inline constexpr std::array<std::string_view, 7> KVFontSizeTitles = {
    "14 px", "16 px", "18 px", "20 px", "22 px", "24 px", "28 px",
};

}  // namespace kv
