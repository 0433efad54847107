// SPDX-License-Identifier: MIT
// The IBus engine object of the input method. IBus creates one when the engine is selected and
// destroys it when the user switches to another; the object keeps one controller per input
// context (IBus tells which context is focused by its object path).
#pragma once

#include <ibus.h>

namespace kv {

// A new engine object on `connection`, created with focus ids so that it learns the contexts.
IBusEngine* KVIBusEngineNew(GDBusConnection* connection, const char* engineName,
                            const char* objectPath);

// Closes the sessions of every engine object still alive. The program calls it when its loop
// has ended, while the process-wide services that closing sessions use are still there.
void KVCloseIBusEngineHosts();

}  // namespace kv
