// SPDX-License-Identifier: MIT
// Deferred work on the main thread.
#pragma once

#include <functional>

namespace kv {

class MainQueue {
  public:
    virtual ~MainQueue() = default;
    // Runs `block` on the main thread once `seconds` have passed; blocks due at the same time
    // run in the order they were scheduled.
    virtual void after(double seconds, std::function<void()> block) = 0;
};

}  // namespace kv
