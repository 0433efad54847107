// SPDX-License-Identifier: MIT
// Where the user's files of the program live.
#pragma once

#include <filesystem>
#include <optional>

namespace kv {

class Locations {
  public:
    virtual ~Locations() = default;
    // The user's application support directory, created when missing; nothing when it cannot
    // be found or made.
    virtual std::optional<std::filesystem::path> applicationSupportDirectory() const = 0;
};

}  // namespace kv
