// SPDX-License-Identifier: MIT
#include "platform/linux/session_log.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/file_log.h"
#include "platform/linux/journal_log.h"
#include "platform/linux/xdg_locations.h"

namespace kv {

namespace {

// What the daemon gives an engine it starts: /dev/null, or nothing at all.
bool StandardErrorGoesNowhere() {
    struct stat error {};
    struct stat null {};
    if (::fstat(STDERR_FILENO, &error) != 0) {
        return true;
    }
    return ::stat("/dev/null", &null) == 0 && S_ISCHR(error.st_mode) &&
           error.st_rdev == null.st_rdev;
}

}  // namespace

std::unique_ptr<Log> SessionLog(bool hasJournal) {
    if (const char* named = std::getenv("CQINPUTKV_LOG"); named != nullptr && *named != '\0') {
        return std::make_unique<FileLog>(named);
    }
    if (!StandardErrorGoesNowhere()) {
        return std::make_unique<StandardErrorLog>();
    }
    if (hasJournal) {
        return std::make_unique<JournalLog>();
    }
    return std::make_unique<FileLog>(XdgStateHome() / "CQ_Input_KV" / "CQInputKV.log");
}

}  // namespace kv
