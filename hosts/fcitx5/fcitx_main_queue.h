// SPDX-License-Identifier: MIT
// Deferred work on fcitx5's own event loop: inside fcitx5's process no GLib loop runs.
#pragma once

#include <fcitx-utils/event.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/main_queue.h"

namespace kv {

class FcitxMainQueue final : public MainQueue {
  public:
    explicit FcitxMainQueue(fcitx::EventLoop& loop) : _loop(&loop) {}

    void after(double seconds, std::function<void()> block) override;
    // The loop is going away with the addon: pending blocks are dropped, later ones refused.
    void stop();

  private:
    fcitx::EventLoop* _loop;
    std::uint64_t _next = 0;
    std::map<std::uint64_t, std::unique_ptr<fcitx::EventSourceTime>> _pending;
    // Sources whose block has run; freed on the next turn, never from inside their own callback.
    std::vector<std::unique_ptr<fcitx::EventSourceTime>> _spent;
};

}  // namespace kv
