// SPDX-License-Identifier: MIT
// The program's bundle: its information dictionary, its identifier and its resources.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

class Bundle {
  public:
    virtual ~Bundle() = default;
    // The string under `key` of the information dictionary; nothing when absent or not a string.
    virtual std::optional<std::string> objectForInfoDictionaryKey(std::string_view key) const = 0;
    // The CFBundleIdentifier of the information dictionary.
    virtual std::optional<std::string> bundleIdentifier() const = 0;
    // The resource file "name.type" (just "name" when `type` is empty), when the bundle has it.
    virtual std::optional<std::filesystem::path> pathForResource(std::string_view name,
                                                                 std::string_view type) const = 0;
};

}  // namespace kv
