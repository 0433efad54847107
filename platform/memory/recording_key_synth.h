// SPDX-License-Identifier: MIT
// Key presses that are recorded instead of posted.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/key_synth.h"

namespace kv {

class RecordingKeySynth final : public KeySynth {
  public:
    void postKeyPress(std::uint16_t keyCode) override { posted.push_back(keyCode); }
    std::vector<std::uint16_t> posted;
};

}  // namespace kv
