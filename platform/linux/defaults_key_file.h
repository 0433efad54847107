// SPDX-License-Identifier: MIT
// The settings file's format: a GLib key file with one group per value type, so that a stored
// string "true" stays a string and a stored boolean reads back as a boolean:
//
//   [Boolean]           [Integer]          [Real]           [String]
//   PersistentToolbar=false  ThemePreset=3  SomeScale=1.5   ToggleKey=Shift
//
// A value that does not parse as its group's type is kept as the string written there (so an
// integer "abc" is present and reads 0). Comments and groups of other names are kept when a
// value is written. A key that sits in several groups is read from the first of the order above.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/user_defaults.h"

namespace kv {

using DefaultsMap = std::map<std::string, DefaultsValue, std::less<>>;

// The values of a settings file, or nothing when the bytes are no key file.
std::optional<DefaultsMap> ParseDefaultsKeyFile(std::string_view bytes);

// `bytes` with `key` set to `value` (and removed from the other types' groups). Nothing when the
// bytes are no key file, or when the key or a string value cannot be stored faithfully (an empty
// key, one with "=", brackets, control characters or blanks at its ends; text that is not UTF-8
// or holds a NUL).
std::optional<std::string> UpdateDefaultsKeyFile(std::string_view bytes, std::string_view key,
                                                 const DefaultsValue& value);

}  // namespace kv
