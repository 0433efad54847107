// SPDX-License-Identifier: MIT
// The user's stored settings under plain keys, read with the coercions of the desktop's defaults
// store: a stored boolean reads 0 or 1 as an integer, an unparsable string reads 0, and presence is
// what objectForKey tells.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kv {

using DefaultsValue = std::variant<bool, std::int64_t, double, std::string>;

// Why a value could not be saved (a read-only folder, a full disk), in words for a person;
// nothing when it was saved.
using DefaultsWriteProblem = std::optional<std::string>;

class UserDefaults {
  public:
    virtual ~UserDefaults() = default;

    // The stored value, or nothing when the key is absent.
    virtual std::optional<DefaultsValue> objectForKey(std::string_view key) const = 0;
    // Stores `value`. It reads back for the rest of the session even when it could not be saved.
    virtual DefaultsWriteProblem setObject(std::string_view key, const DefaultsValue& value) = 0;

    // Absent or unreadable reads NO; numbers read YES when not zero; strings "YES", "true" or a
    // non-zero number read YES.
    bool boolForKey(std::string_view key) const;
    // Absent or unparsable reads 0; a boolean reads 0 or 1; a real number is truncated.
    std::int64_t integerForKey(std::string_view key) const;
    // Strings as stored, numbers in decimal; absent (or a boolean) reads nothing.
    std::optional<std::string> stringForKey(std::string_view key) const;

    DefaultsWriteProblem setBool(std::string_view key, bool value) { return setObject(key, value); }
    DefaultsWriteProblem setInteger(std::string_view key, std::int64_t value) {
        return setObject(key, value);
    }
};

}  // namespace kv
