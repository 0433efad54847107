// SPDX-License-Identifier: MIT
// Option values shared by the commands that paint panels or replay sessions.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/geometry.h"
#include "platform/user_defaults.h"

namespace kv {

// An integer when the whole text reads as one, else the text itself.
DefaultsValue SettingValue(std::string_view text);

// "KEY=VALUE" as a key and its value; nothing when there is no "=" or no key.
std::optional<std::pair<std::string, DefaultsValue>> SettingAssignment(std::string_view assignment);

// Stores "KEY=VALUE" in `settings`; false with `error` when there is no key.
bool StoreSetting(std::string_view assignment, UserDefaults& settings, std::string& error);

// "WxH" in whole points; nothing when either side is not a whole number.
std::optional<Size> WholeSize(std::string_view text);

}  // namespace kv
