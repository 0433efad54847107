// SPDX-License-Identifier: MIT
// The input method's log: one line per thing it would otherwise drop without a trace.
#pragma once

#include <string_view>

namespace kv {

class Log {
  public:
    virtual ~Log() = default;
    virtual void write(std::string_view line) = 0;
};

// Writes to standard error; what a process gets until it installs a log of its own.
class StandardErrorLog final : public Log {
  public:
    void write(std::string_view line) override;
};

}  // namespace kv
