// SPDX-License-Identifier: MIT
// What the sessions of one IBus engine object share: the engine, while it lives, and the server
// of its sessions, which knows the focused one. IBus moves one engine object between contexts,
// so a session may speak to its context only while the engine is attached to it: while its
// session has the focus.
#pragma once

#include <ibus.h>

#include <string>
#include <string_view>

#include "controller/input_server.h"

namespace kv {

struct IBusEngineLink {
    IBusEngine* engine = nullptr;           // null once the engine is destroyed
    const KVInputServer* server = nullptr;  // null once the engine is destroyed

    // The engine while it is attached to the context `path`.
    IBusEngine* engineFor(std::string_view path) const {
        return engine != nullptr && server != nullptr && !path.empty() &&
                       path == server->focusedSessionId()
                   ? engine
                   : nullptr;
    }
    // The engine while it is attached to a real context.
    IBusEngine* focusedEngine() const {
        return server != nullptr ? engineFor(server->focusedSessionId()) : nullptr;
    }
};

}  // namespace kv
