// SPDX-License-Identifier: MIT
// Synthesised keys on IBus: forwarded to the focused context's application through the engine
// that is attached to it, as if the user had pressed them.
#pragma once

#include <memory>

#include "hosts/linux/ibus_engine_link.h"
#include "platform/key_synth.h"

namespace kv {

class IBusKeySynth final : public KeySynth {
  public:
    void postKeyPress(std::uint16_t keyCode) override;

    // The engine object that gained a focus last (IBus may make several); its server knows the
    // focused session, whose context gets the keys.
    static void setFocusedLink(std::weak_ptr<const IBusEngineLink> link);
};

}  // namespace kv
