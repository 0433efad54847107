// SPDX-License-Identifier: MIT
// The one table all sessions share, loaded from the bundle by the first session that can.
#pragma once

#include <memory>

#include "engine/cin_table.h"

namespace kv {

// The shared table, loading it when no session has yet: the bundle's resource "CQInput-KV" of
// type "cin", then the user dictionary (created empty when missing). Empty when the table cannot
// be loaded; the next call tries again. A user dictionary refused here leaves the table without
// user phrases for the life of the process.
std::shared_ptr<cqinput::CinTable> KVSharedTable();

// The shared table as it is, without trying to load it: empty while no session could.
std::shared_ptr<cqinput::CinTable> KVLoadedSharedTable();

// Forgets the shared table, so that the next session loads it anew. For tests.
void KVResetSharedTable();

}  // namespace kv
