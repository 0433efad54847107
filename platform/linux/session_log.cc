// SPDX-License-Identifier: MIT
#include "platform/linux/session_log.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/file_log.h"
#include "platform/linux/journal_log.h"
#include "platform/linux/xdg_locations.h"

namespace kv {

std::unique_ptr<Log> SessionLog(bool hasJournal) {
    if (const char* named = std::getenv("CQINPUTKV_LOG"); named != nullptr && *named != '\0') {
        return std::make_unique<FileLog>(named);
    }
    if (::isatty(STDERR_FILENO) != 0) {
        return std::make_unique<StandardErrorLog>();
    }
    if (hasJournal) {
        return std::make_unique<JournalLog>();
    }
    return std::make_unique<FileLog>(XdgStateHome() / "CQ_Input_KV" / "CQInputKV.log");
}

}  // namespace kv
