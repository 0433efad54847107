// SPDX-License-Identifier: MIT
// The companion process: the settings window, the words window and the on-screen keyboard for a
// host whose own loop cannot show GTK windows (fcitx5's), served on the session bus under the
// names of controller/companion_interface.h (docs/companion.md).
#pragma once

#include "controller/program_entry.h"

namespace kv {

// Serves the windows made by `bodies` until no window has been on screen and nobody has called
// for a while, until SIGTERM or SIGINT, or until the session bus goes away; 0 then, and also
// when another companion already owns the name (this one leaves at once). 1 without a session
// bus. GTK and the services must be started.
int KVRunCompanion(const KVWindowBodies& bodies);

}  // namespace kv
