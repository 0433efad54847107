// SPDX-License-Identifier: MIT
// Writing settings by the same rules they are read by (settings_table.h): the key and the range
// are declared once, and whoever stores a setting goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/color.h"
#include "platform/services.h"
#include "platform/user_defaults.h"
#include "settings/settings_table.h"

namespace kv {

// Each answers why the value could not be saved, or nothing; the value reads back either way.
DefaultsWriteProblem KVWriteSetting(UserDefaults& defaults, const BooleanRule& rule, bool value);
// Stored brought into the rule's range, so that what is written reads back unchanged.
DefaultsWriteProblem KVWriteSetting(UserDefaults& defaults, const IntegerRule& rule,
                                    std::int64_t value);
DefaultsWriteProblem KVWriteSetting(UserDefaults& defaults, const StringRule& rule,
                                    std::string_view value);
// Stored packed, as every reader of a colour key unpacks it.
DefaultsWriteProblem KVWriteSetting(UserDefaults& defaults, const ColorRule& rule,
                                    const Color& value);
// `index` into KVFontSizeValues; the point size is what is stored.
DefaultsWriteProblem KVWriteSetting(UserDefaults& defaults, const FontSizeChoiceRule& rule,
                                    std::size_t index);

// Everything the settings window shows, as KVReadSettingsWindowSettings reads it back. Every key
// is written even after one could not be saved; the first problem is the answer.
DefaultsWriteProblem KVWriteSettingsWindowSettings(const SettingsWindowSettings& settings,
                                                   UserDefaults& defaults = standardUserDefaults());

// A change the user made that could not be saved: logged, with the beep the user hears. It stays
// in force until the input method ends.
void KVReportUnsavedSettings(std::string_view problem);

}  // namespace kv
