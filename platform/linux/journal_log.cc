// SPDX-License-Identifier: MIT
#include "platform/linux/journal_log.h"

#include <glib.h>

#include <array>
#include <string>

namespace kv {

namespace {

// Where journald takes native messages; GLib's writer sends to it.
constexpr const char* kJournalSocket = "/run/systemd/journal/socket";
constexpr const char* kIdentifier = "CQInputKV";
// The lines tell of things the input method set aside (a refused file, a daemon gone): notices.
constexpr const char* kNoticePriority = "5";

}  // namespace

bool JournalLog::available() {
    return g_file_test(kJournalSocket, G_FILE_TEST_EXISTS) != FALSE;
}

void JournalLog::write(std::string_view line) {
    const std::string message = EscapedLogLine(line);
    const std::array<GLogField, 3> fields{{
        {"MESSAGE", message.c_str(), -1},
        {"PRIORITY", kNoticePriority, -1},
        {"SYSLOG_IDENTIFIER", kIdentifier, -1},
    }};
    g_log_writer_journald(G_LOG_LEVEL_MESSAGE, fields.data(), fields.size(), nullptr);
}

}  // namespace kv
