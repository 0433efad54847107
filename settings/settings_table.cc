// SPDX-License-Identifier: MIT
#include "settings/settings_table.h"

#include <algorithm>

#include "settings/packed_color.h"

namespace kv {

bool KVReadSetting(const UserDefaults& defaults, const BooleanRule& rule) {
    if (!defaults.objectForKey(rule.key)) {
        return rule.whenAbsent;
    }
    return defaults.boolForKey(rule.key);
}

std::int64_t KVReadSetting(const UserDefaults& defaults, const IntegerRule& rule) {
    const std::int64_t value = defaults.integerForKey(rule.key);
    if (value >= rule.min && value <= rule.max) {
        return value;
    }
    if (rule.whenOutside) {
        return *rule.whenOutside;
    }
    return std::clamp(value, rule.min, rule.max);
}

std::string KVReadSetting(const UserDefaults& defaults, const StringRule& rule) {
    return defaults.stringForKey(rule.key).value_or(std::string(rule.whenAbsent));
}

Color KVReadSetting(const UserDefaults& defaults, const ColorRule& rule, std::size_t preset) {
    if (defaults.objectForKey(rule.key)) {
        return KVColorFromPacked(defaults.integerForKey(rule.key));
    }
    if (rule.fixedFallback) {
        return *rule.fixedFallback;
    }
    const std::size_t safePreset = std::min(preset, KVThemePresetCount - 1);
    return KVPreferenceThemes()[safePreset][rule.themeIndex % KVThemeColorCount];
}

std::size_t KVReadSetting(const UserDefaults& defaults, const FontSizeChoiceRule& rule) {
    const std::int64_t stored = defaults.integerForKey(rule.key);
    for (const std::int64_t value : {stored, rule.whenOther}) {
        const auto found = std::find(KVFontSizeValues.begin(), KVFontSizeValues.end(), value);
        if (found != KVFontSizeValues.end()) {
            return static_cast<std::size_t>(found - KVFontSizeValues.begin());
        }
    }
    return 0;
}

ThemeColors KVReadThemeColors(const UserDefaults& defaults, std::size_t preset) {
    ThemeColors colors{};
    for (std::size_t i = 0; i < KVThemeColorCount; ++i) {
        colors[i] = KVReadSetting(defaults, PresetThemeColorRules[i], preset);
    }
    return colors;
}

ControllerSettings KVReadControllerSettings(const UserDefaults& defaults) {
    ControllerSettings settings;
    settings.simplifiedOutput = KVReadSetting(defaults, ControllerRules::SimplifiedOutput);
    settings.fullwidthMode = KVReadSetting(defaults, ControllerRules::FullwidthMode);
    settings.letterSelection = KVReadSetting(defaults, ControllerRules::LetterSelection);
    settings.toggleWithShift =
        KVReadSetting(defaults, ControllerRules::ToggleKey) == ToggleKeyValue::Shift;
    settings.persistentToolbar = KVReadSetting(defaults, ControllerRules::PersistentToolbar);
    settings.toolbarFollowMode = KVReadSetting(defaults, ControllerRules::ToolbarFollowMode);
    return settings;
}

CandidateWindowSettings KVReadCandidateWindowSettings(const UserDefaults& defaults) {
    CandidateWindowSettings settings;
    settings.themePreset = KVReadSetting(defaults, CandidateWindowRules::ThemePreset);
    settings.colors = KVReadThemeColors(defaults, static_cast<std::size_t>(settings.themePreset));
    settings.fontSize = KVReadSetting(defaults, CandidateWindowRules::CandidateFontSize);
    return settings;
}

SettingsWindowSettings KVReadSettingsWindowSettings(const UserDefaults& defaults) {
    SettingsWindowSettings settings;
    settings.capsLockToggle =
        KVReadSetting(defaults, SettingsWindowRules::ToggleKey) == ToggleKeyValue::CapsLock;
    settings.persistentToolbar = KVReadSetting(defaults, SettingsWindowRules::PersistentToolbar);
    settings.toolbarFollowMode = KVReadSetting(defaults, SettingsWindowRules::ToolbarFollowMode);
    settings.letterSelection = KVReadSetting(defaults, SettingsWindowRules::LetterSelection);
    settings.simplifiedOutput = KVReadSetting(defaults, SettingsWindowRules::SimplifiedOutput);
    settings.themePreset = KVReadSetting(defaults, SettingsWindowRules::ThemePreset);
    settings.colors = KVReadThemeColors(defaults, static_cast<std::size_t>(settings.themePreset));
    settings.fontSizeIndex = KVReadSetting(defaults, SettingsWindowRules::CandidateFontSize);
    return settings;
}

KeyboardColors KVReadKeyboardColors(const UserDefaults& defaults) {
    return {KVReadSetting(defaults, KeyboardRules::Background),
            KVReadSetting(defaults, KeyboardRules::Border),
            KVReadSetting(defaults, KeyboardRules::Muted)};
}

}  // namespace kv
