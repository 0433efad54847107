// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/fcitx_main_queue.h"

#include <algorithm>
#include <ctime>

namespace kv {

void FcitxMainQueue::after(double seconds, std::function<void()> block) {
    if (_loop == nullptr) {
        return;
    }
    const auto delay = static_cast<std::uint64_t>(std::max(0.0, seconds) * 1e6);
    const std::uint64_t id = _next++;
    // Blocks due at the same moment run in order: the loop keeps ties in the order they came.
    _pending[id] = _loop->addTimeEvent(
        CLOCK_MONOTONIC, fcitx::now(CLOCK_MONOTONIC) + delay, 0,
        [this, id, block = std::move(block)](fcitx::EventSourceTime*, std::uint64_t) {
            _spent.clear();  // earlier ones, none of them running now
            const auto found = _pending.find(id);
            if (found != _pending.end()) {
                _spent.push_back(std::move(found->second));
                _pending.erase(found);
            }
            block();
            return true;
        });
}

void FcitxMainQueue::stop() {
    _pending.clear();
    _spent.clear();
    _loop = nullptr;
}

}  // namespace kv
