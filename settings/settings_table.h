// SPDX-License-Identifier: MIT
// The one table of how each reader takes each setting: its type, the value it assumes when the
// key is absent and how it brings a stored value into range. Readers differ on purpose (the
// candidate window and the settings window disagree on an absent font size, the keyboard falls
// back to fixed colours), so every rule is declared per reader. Nothing else spells a key's
// fallback; callers use the KVRead* functions at the end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/color.h"
#include "platform/services.h"
#include "platform/user_defaults.h"
#include "settings/settings_keys.h"
#include "settings/theme.h"

namespace kv {

// A boolean key; a fallback of YES can only be told from a stored NO by testing presence first.
struct BooleanRule {
    std::string_view key;
    bool whenAbsent;
};

// An integer key, read as an integer (absent reads 0). A value outside [min, max] is clamped to
// the nearer end, or replaced by `whenOutside` when one is given.
struct IntegerRule {
    std::string_view key;
    std::int64_t min;
    std::int64_t max;
    std::optional<std::int64_t> whenOutside;
};

// A string key and the string assumed when it is absent.
struct StringRule {
    std::string_view key;
    std::string_view whenAbsent;
};

// A packed colour key. When it is absent: the fixed fallback if there is one, else the colour at
// `themeIndex` of the preset the reader has selected.
struct ColorRule {
    std::string_view key;
    std::size_t themeIndex;
    std::optional<Color> fixedFallback;
};

// The size the settings window selects: a stored value among KVFontSizeValues, else `whenOther`
// (absent reads 0 and so counts as other).
struct FontSizeChoiceRule {
    std::string_view key;
    std::int64_t whenOther;
};

// The six colour keys as the candidate window and the settings window read them: an absent key
// takes the colour at its index of the reader's selected preset.
inline constexpr std::array<ColorRule, KVThemeColorCount> PresetThemeColorRules = {{
    {SettingsKey::ThemeBackground, ThemeBackgroundIndex, {}},
    {SettingsKey::ThemeText, ThemeTextIndex, {}},
    {SettingsKey::ThemeMuted, ThemeMutedIndex, {}},
    {SettingsKey::ThemeSelection, ThemeSelectionIndex, {}},
    {SettingsKey::ThemeSelectedText, ThemeSelectedTextIndex, {}},
    {SettingsKey::ThemeBorder, ThemeBorderIndex, {}},
}};

namespace ControllerRules {
inline constexpr BooleanRule SimplifiedOutput{SettingsKey::SimplifiedOutput, false};
inline constexpr BooleanRule FullwidthMode{SettingsKey::FullwidthMode, false};
inline constexpr BooleanRule LetterSelection{SettingsKey::LetterSelection, false};
// Shift toggles exactly when the stored string is "Shift"; anything else means Caps Lock.
inline constexpr StringRule ToggleKey{SettingsKey::ToggleKey, ""};
inline constexpr BooleanRule PersistentToolbar{SettingsKey::PersistentToolbar, true};
inline constexpr IntegerRule ToolbarFollowMode{SettingsKey::ToolbarFollowMode, 0, 2, {}};
}  // namespace ControllerRules

namespace CandidateWindowRules {
inline constexpr IntegerRule ThemePreset{SettingsKey::ThemePreset, 0, 9, {}};
inline constexpr const auto& ThemeColors = PresetThemeColorRules;
inline constexpr IntegerRule CandidateFontSize{SettingsKey::CandidateFontSize, 14, 28, 16};
}  // namespace CandidateWindowRules

namespace SettingsWindowRules {
// The Caps Lock radio is on exactly when the string (absent counting as "CapsLock") is "CapsLock".
inline constexpr StringRule ToggleKey{SettingsKey::ToggleKey, ToggleKeyValue::CapsLock};
inline constexpr BooleanRule PersistentToolbar{SettingsKey::PersistentToolbar, true};
inline constexpr IntegerRule ToolbarFollowMode{SettingsKey::ToolbarFollowMode, 0, 2, {}};
inline constexpr BooleanRule LetterSelection{SettingsKey::LetterSelection, false};
inline constexpr BooleanRule SimplifiedOutput{SettingsKey::SimplifiedOutput, false};
inline constexpr IntegerRule ThemePreset{SettingsKey::ThemePreset, 0, 9, {}};
// Colours fall back to the preset selected in the theme pop-up.
inline constexpr const auto& ThemeColors = PresetThemeColorRules;
inline constexpr FontSizeChoiceRule CandidateFontSize{SettingsKey::CandidateFontSize, 18};
}  // namespace SettingsWindowRules

namespace HostRules {
inline constexpr StringRule CandidatePanel{SettingsKey::CandidatePanel, ""};
}  // namespace HostRules

namespace KeyboardRules {
// Fixed fallbacks, those of preset 0: the keyboard does not read ThemePreset.
inline constexpr ColorRule Background{SettingsKey::ThemeBackground, ThemeBackgroundIndex,
                                      Color::fromRGB255(11, 20, 34)};
inline constexpr ColorRule Border{SettingsKey::ThemeBorder, ThemeBorderIndex,
                                  Color::fromRGB255(42, 71, 91)};
inline constexpr ColorRule Muted{SettingsKey::ThemeMuted, ThemeMutedIndex,
                                 Color::fromRGB255(145, 173, 191)};
}  // namespace KeyboardRules

// Reading one key by its rule.
bool KVReadSetting(const UserDefaults& defaults, const BooleanRule& rule);
std::int64_t KVReadSetting(const UserDefaults& defaults, const IntegerRule& rule);
std::string KVReadSetting(const UserDefaults& defaults, const StringRule& rule);
// `preset` is the reader's selected preset, used only when the rule has no fixed fallback.
Color KVReadSetting(const UserDefaults& defaults, const ColorRule& rule, std::size_t preset = 0);
// The index into KVFontSizeValues and KVFontSizeTitles.
std::size_t KVReadSetting(const UserDefaults& defaults, const FontSizeChoiceRule& rule);

// The six theme colours by PresetThemeColorRules: each stored key wins, an absent one takes the
// preset's colour.
ThemeColors KVReadThemeColors(const UserDefaults& defaults, std::size_t preset);

// What a controller reads when it loads its settings.
struct ControllerSettings {
    bool simplifiedOutput = false;
    bool fullwidthMode = false;
    bool letterSelection = false;
    bool toggleWithShift = false;
    bool persistentToolbar = true;
    std::int64_t toolbarFollowMode = 0;
};
ControllerSettings KVReadControllerSettings(const UserDefaults& defaults = standardUserDefaults());

// What the candidate window reads at every layout.
struct CandidateWindowSettings {
    std::int64_t themePreset = 0;
    ThemeColors colors{};
    std::int64_t fontSize = 16;
};
CandidateWindowSettings KVReadCandidateWindowSettings(
    const UserDefaults& defaults = standardUserDefaults());

// What the settings window shows when it loads.
struct SettingsWindowSettings {
    bool capsLockToggle = true;  // the Caps Lock radio; the Shift radio is its opposite
    bool persistentToolbar = true;
    std::int64_t toolbarFollowMode = 0;
    bool letterSelection = false;
    bool simplifiedOutput = false;
    std::int64_t themePreset = 0;
    ThemeColors colors{};
    std::size_t fontSizeIndex = 2;
};
SettingsWindowSettings KVReadSettingsWindowSettings(
    const UserDefaults& defaults = standardUserDefaults());

// The three colours the on-screen keyboard paints with.
struct KeyboardColors {
    Color background;
    Color border;
    Color muted;
};
KeyboardColors KVReadKeyboardColors(const UserDefaults& defaults = standardUserDefaults());

}  // namespace kv
