// SPDX-License-Identifier: MIT
#include "hosts/linux/ibus_key_synth.h"

#include "platform/key_codes.h"
#include "platform/linux/x_key_translation.h"

namespace kv {

namespace {

std::weak_ptr<const IBusEngineLink>& FocusedLink() {
    static std::weak_ptr<const IBusEngineLink> link;
    return link;
}

// The key symbols of the keys the controller synthesises: Delete is the BackSpace key.
guint KeyvalOfVirtualKey(std::uint16_t keyCode) {
    switch (keyCode) {
        case KeyCode::Delete:
            return IBUS_KEY_BackSpace;
        case KeyCode::ForwardDelete:
            return IBUS_KEY_Delete;
        case KeyCode::Return:
            return IBUS_KEY_Return;
        default:
            return IBUS_KEY_VoidSymbol;
    }
}

}  // namespace

void IBusKeySynth::setFocusedLink(std::weak_ptr<const IBusEngineLink> link) {
    FocusedLink() = std::move(link);
}

void IBusKeySynth::postKeyPress(std::uint16_t keyCode) {
    const std::shared_ptr<const IBusEngineLink> link = FocusedLink().lock();
    IBusEngine* const engine = link ? link->focusedEngine() : nullptr;
    const guint keyval = KeyvalOfVirtualKey(keyCode);
    if (engine == nullptr || keyval == IBUS_KEY_VoidSymbol) {
        return;
    }
    const guint evdev = EvdevCodeOfVirtualKey(keyCode);
    ibus_engine_forward_key_event(engine, keyval, evdev, 0);
    ibus_engine_forward_key_event(engine, keyval, evdev, IBUS_RELEASE_MASK);
}

}  // namespace kv
