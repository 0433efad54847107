// SPDX-License-Identifier: MIT
// Settings held in memory, for tests and for rendering with chosen settings. Every write is kept
// in order too, so a replay can say which keys a step stored.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/user_defaults.h"

namespace kv {

class MemoryUserDefaults final : public UserDefaults {
  public:
    std::optional<DefaultsValue> objectForKey(std::string_view key) const override {
        const auto found = values.find(std::string(key));
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    DefaultsWriteProblem setObject(std::string_view key, const DefaultsValue& value) override {
        values.insert_or_assign(std::string(key), value);
        writes.emplace_back(std::string(key), value);
        return failingWrites;
    }

    std::map<std::string, DefaultsValue, std::less<>> values;
    std::vector<std::pair<std::string, DefaultsValue>> writes;
    // What every write answers: set it to play a store that cannot save.
    DefaultsWriteProblem failingWrites;
};

}  // namespace kv
