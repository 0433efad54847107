// SPDX-License-Identifier: MIT
// Where the input method's log goes. The daemon sends a launched engine's standard error to
// /dev/null, so that is no place for it.
#pragma once

#include <memory>

#include "platform/log.h"

namespace kv {

// The file named by CQINPUTKV_LOG when that is set; standard error when it leads somewhere (a
// person or a script started the engine); the journal where the machine has one; otherwise a
// small rotated file, $XDG_STATE_HOME/CQ_Input_KV/CQInputKV.log (~/.local/state by default).
std::unique_ptr<Log> SessionLog(bool hasJournal);

}  // namespace kv
