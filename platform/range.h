// SPDX-License-Identifier: MIT
// A range of UTF-16 code units in a client's text, as the desktop's text services count.
#pragma once

#include <cstdint>
#include <limits>

namespace kv {

// "No position": a replacement range of (NotFound, NotFound) means at the insertion point.
inline constexpr std::int64_t NotFound = std::numeric_limits<std::int64_t>::max();

struct Range {
    std::int64_t location = 0;
    std::int64_t length = 0;

    static constexpr Range notFound() { return {NotFound, NotFound}; }
    constexpr std::int64_t end() const { return location + length; }
    bool operator==(const Range&) const = default;
};

}  // namespace kv
