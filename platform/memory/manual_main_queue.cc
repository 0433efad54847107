// SPDX-License-Identifier: MIT
#include "platform/memory/manual_main_queue.h"

#include <algorithm>

namespace kv {

void ManualMainQueue::after(double seconds, std::function<void()> block) {
    _blocks.push_back({_now + std::max(0.0, seconds), _sequence++, std::move(block)});
}

void ManualMainQueue::advance(double seconds) {
    const double end = _now + seconds;
    for (;;) {
        const auto next = std::min_element(
            _blocks.begin(), _blocks.end(), [](const Scheduled& a, const Scheduled& b) {
                return a.due < b.due || (a.due == b.due && a.sequence < b.sequence);
            });
        if (next == _blocks.end() || next->due > end) {
            break;
        }
        _now = std::max(_now, next->due);
        std::function<void()> block = std::move(next->block);
        _blocks.erase(next);
        block();
    }
    _now = end;
}

}  // namespace kv
