// SPDX-License-Identifier: MIT
// The one table all sessions share, loaded from the bundle by the first session that can.
#pragma once

#include <memory>

#include "engine/cin_table.h"

namespace kv {

// The shared table, loading it when no session has yet: the bundle's resource "CQInput-KV" of
// type "cin", then the user dictionary (created empty when missing). Empty when the table cannot
// be loaded; the next call tries again. A user dictionary refused here leaves the table without
// user phrases until KVReloadUserDictionary finds the file mended.
std::shared_ptr<cqinput::CinTable> KVSharedTable();

// Brings the shared table's user phrases up to date with their file; a refusal is written to the
// log once until the file changes. While no load of the file
// has succeeded, the table has no path to check for changes, so the file is loaded afresh: a
// dictionary refused at start comes in as soon as the user mends it, not at the next login.
void KVReloadUserDictionary();

// Brings `table` up to date with its file; a file refused now is written to the log once, and the
// table stays as it was.
void KVReloadTable(cqinput::CinTable& table);

// The shared table as it is, without trying to load it: empty while no session could.
std::shared_ptr<cqinput::CinTable> KVLoadedSharedTable();

// Forgets the shared table, so that the next session loads it anew. For tests.
void KVResetSharedTable();

}  // namespace kv
