// SPDX-License-Identifier: MIT
// What the sessions of one IBus engine object share: the engine, while it lives, and which
// input context it is attached to. IBus moves one engine object between contexts, so a session
// may speak to its context only while the engine is attached to it.
#pragma once

#include <ibus.h>

#include <string>

namespace kv {

struct IBusEngineLink {
    IBusEngine* engine = nullptr;  // null once the engine is destroyed
    std::string focusedPath;       // empty while the engine sits on no real context

    IBusEngine* engineFor(const std::string& path) const {
        return engine != nullptr && !path.empty() && path == focusedPath ? engine : nullptr;
    }
    // The engine while it is attached to a real context.
    IBusEngine* focusedEngine() const { return engineFor(focusedPath); }
};

}  // namespace kv
