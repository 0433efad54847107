// SPDX-License-Identifier: MIT
// The input method's log: one line per thing it would otherwise drop without a trace.
#pragma once

#include <string>
#include <string_view>

namespace kv {

class Log {
  public:
    virtual ~Log() = default;
    virtual void write(std::string_view line) = 0;
};

// `line` as a log may hold it: control bytes (a NUL, a terminal escape, a line break) and bytes
// that are not UTF-8 written as \xNN, so a quoted file name or line cannot forge or garble a
// log line.
std::string EscapedLogLine(std::string_view line);

// Writes to standard error; what a process gets until it installs a log of its own.
class StandardErrorLog final : public Log {
  public:
    void write(std::string_view line) override;
};

}  // namespace kv
