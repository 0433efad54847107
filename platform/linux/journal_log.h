// SPDX-License-Identifier: MIT
// The systemd journal, through GLib's structured logging: where a desktop session keeps what its
// programs log (`journalctl -t CQInputKV`).
#pragma once

#include <string_view>

#include "platform/log.h"

namespace kv {

class JournalLog final : public Log {
  public:
    // Whether this machine runs a journal that takes lines.
    static bool available();
    void write(std::string_view line) override;
};

}  // namespace kv
