// SPDX-License-Identifier: MIT
#include "settings/settings_writer.h"

#include <algorithm>
#include <string>

#include "settings/packed_color.h"

namespace kv {

DefaultsWriteProblem KVWriteSetting(UserDefaults& defaults, const BooleanRule& rule, bool value) {
    return defaults.setBool(rule.key, value);
}

DefaultsWriteProblem KVWriteSetting(UserDefaults& defaults, const IntegerRule& rule,
                                    std::int64_t value) {
    return defaults.setInteger(rule.key, std::clamp(value, rule.min, rule.max));
}

DefaultsWriteProblem KVWriteSetting(UserDefaults& defaults, const StringRule& rule,
                                    std::string_view value) {
    return defaults.setObject(rule.key, std::string(value));
}

DefaultsWriteProblem KVWriteSetting(UserDefaults& defaults, const ColorRule& rule,
                                    const Color& value) {
    return defaults.setInteger(rule.key, KVPackedColor(value));
}

DefaultsWriteProblem KVWriteSetting(UserDefaults& defaults, const FontSizeChoiceRule& rule,
                                    std::size_t index) {
    return defaults.setInteger(rule.key,
                               KVFontSizeValues[std::min(index, KVFontSizeValues.size() - 1)]);
}

DefaultsWriteProblem KVWriteSettingsWindowSettings(const SettingsWindowSettings& settings,
                                                   UserDefaults& defaults) {
    namespace R = SettingsWindowRules;
    DefaultsWriteProblem first;
    const auto keep = [&first](DefaultsWriteProblem problem) {
        if (!first) {
            first = std::move(problem);
        }
    };
    keep(
        KVWriteSetting(defaults, R::ToggleKey,
                       settings.capsLockToggle ? ToggleKeyValue::CapsLock : ToggleKeyValue::Shift));
    keep(KVWriteSetting(defaults, R::PersistentToolbar, settings.persistentToolbar));
    keep(KVWriteSetting(defaults, R::ToolbarFollowMode, settings.toolbarFollowMode));
    keep(KVWriteSetting(defaults, R::LetterSelection, settings.letterSelection));
    keep(KVWriteSetting(defaults, R::SimplifiedOutput, settings.simplifiedOutput));
    keep(KVWriteSetting(defaults, R::ThemePreset, settings.themePreset));
    for (std::size_t i = 0; i < KVThemeColorCount; ++i) {
        keep(KVWriteSetting(defaults, R::ThemeColors[i], settings.colors[i]));
    }
    keep(KVWriteSetting(defaults, R::CandidateFontSize, settings.fontSizeIndex));
    return first;
}

void KVReportUnsavedSettings(std::string_view problem) {
    systemLog().write("the settings cannot be saved: " + std::string(problem));
    systemBeep().beep();
}

}  // namespace kv
