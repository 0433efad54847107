// SPDX-License-Identifier: MIT
#include "settings/settings_writer.h"

#include <algorithm>
#include <string>

#include "settings/packed_color.h"

namespace kv {

void KVWriteSetting(UserDefaults& defaults, const BooleanRule& rule, bool value) {
    defaults.setBool(rule.key, value);
}

void KVWriteSetting(UserDefaults& defaults, const IntegerRule& rule, std::int64_t value) {
    defaults.setInteger(rule.key, std::clamp(value, rule.min, rule.max));
}

void KVWriteSetting(UserDefaults& defaults, const StringRule& rule, std::string_view value) {
    defaults.setObject(rule.key, std::string(value));
}

void KVWriteSetting(UserDefaults& defaults, const ColorRule& rule, const Color& value) {
    defaults.setInteger(rule.key, KVPackedColor(value));
}

void KVWriteSetting(UserDefaults& defaults, const FontSizeChoiceRule& rule, std::size_t index) {
    defaults.setInteger(rule.key, KVFontSizeValues[std::min(index, KVFontSizeValues.size() - 1)]);
}

void KVWriteSettingsWindowSettings(const SettingsWindowSettings& settings, UserDefaults& defaults) {
    namespace R = SettingsWindowRules;
    KVWriteSetting(defaults, R::ToggleKey,
                   settings.capsLockToggle ? ToggleKeyValue::CapsLock : ToggleKeyValue::Shift);
    KVWriteSetting(defaults, R::PersistentToolbar, settings.persistentToolbar);
    KVWriteSetting(defaults, R::ToolbarFollowMode, settings.toolbarFollowMode);
    KVWriteSetting(defaults, R::LetterSelection, settings.letterSelection);
    KVWriteSetting(defaults, R::SimplifiedOutput, settings.simplifiedOutput);
    KVWriteSetting(defaults, R::ThemePreset, settings.themePreset);
    for (std::size_t i = 0; i < KVThemeColorCount; ++i) {
        KVWriteSetting(defaults, R::ThemeColors[i], settings.colors[i]);
    }
    KVWriteSetting(defaults, R::CandidateFontSize, settings.fontSizeIndex);
}

}  // namespace kv
