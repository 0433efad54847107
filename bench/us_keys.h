// SPDX-License-Identifier: MIT
// The keys the latency benchmarks type, as a US keyboard sends them.
#pragma once

#include <optional>

namespace kv::bench {

struct UsKey {
    // The X key symbol, which IBus calls the keyval.
    unsigned keysym = 0;
    // The Linux evdev key code; X key codes are 8 more.
    unsigned evdevCode = 0;
};

// A lower-case letter, a digit, ' ' (Space) or '\x1b' (Escape); nothing for any other.
std::optional<UsKey> UsKeyOf(char key);

}  // namespace kv::bench
