// SPDX-License-Identifier: MIT
// A main queue on a clock that only tests move.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/main_queue.h"

namespace kv {

class ManualMainQueue final : public MainQueue {
  public:
    void after(double seconds, std::function<void()> block) override;

    // Moves the clock forward, running every block that falls due, in due order (blocks due at
    // the same moment in the order they were scheduled), including blocks scheduled meanwhile.
    void advance(double seconds);
    double now() const { return _now; }
    std::size_t pending() const { return _blocks.size(); }

  private:
    struct Scheduled {
        double due;
        std::uint64_t sequence;
        std::function<void()> block;
    };
    std::vector<Scheduled> _blocks;
    double _now = 0;
    std::uint64_t _sequence = 0;
};

}  // namespace kv
