// SPDX-License-Identifier: MIT
// Synthesised key presses, for editing a client that offers no other way.
#pragma once

#include <cstdint>

namespace kv {

class KeySynth {
  public:
    virtual ~KeySynth() = default;
    // Posts a key-down and then a key-up of the virtual key `keyCode` to the focused session;
    // does nothing when the events cannot be made.
    virtual void postKeyPress(std::uint16_t keyCode) = 0;
};

}  // namespace kv
