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

void KVWriteSetting(UserDefaults& defaults, const BooleanRule& rule, bool value);
// Stored brought into the rule's range, so that what is written reads back unchanged.
void KVWriteSetting(UserDefaults& defaults, const IntegerRule& rule, std::int64_t value);
void KVWriteSetting(UserDefaults& defaults, const StringRule& rule, std::string_view value);
// Stored packed, as every reader of a colour key unpacks it.
void KVWriteSetting(UserDefaults& defaults, const ColorRule& rule, const Color& value);
// `index` into KVFontSizeValues; the point size is what is stored.
void KVWriteSetting(UserDefaults& defaults, const FontSizeChoiceRule& rule, std::size_t index);

// Everything the settings window shows, as KVReadSettingsWindowSettings reads it back.
void KVWriteSettingsWindowSettings(const SettingsWindowSettings& settings,
                                   UserDefaults& defaults = standardUserDefaults());

}  // namespace kv
