// SPDX-License-Identifier: MIT
// The main queue on the GLib main loop of the default context.
#pragma once

#include <functional>

#include "platform/main_queue.h"

namespace kv {

class GLibMainQueue final : public MainQueue {
  public:
    // A timeout source of whole milliseconds, rounded up; blocks due together run in the order
    // they were scheduled.
    void after(double seconds, std::function<void()> block) override;
};

}  // namespace kv
