// SPDX-License-Identifier: MIT
// Settings held in memory, for tests and for rendering with chosen settings.
#pragma once

#include <map>
#include <string>

#include "platform/user_defaults.h"

namespace kv {

class MemoryUserDefaults final : public UserDefaults {
  public:
    std::optional<DefaultsValue> objectForKey(std::string_view key) const override {
        const auto found = values.find(std::string(key));
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    void setObject(std::string_view key, const DefaultsValue& value) override {
        values.insert_or_assign(std::string(key), value);
    }

    std::map<std::string, DefaultsValue, std::less<>> values;
};

}  // namespace kv
