// SPDX-License-Identifier: MIT
// A log that keeps its lines, so a test can read what the input method would have written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/log.h"

namespace kv {

class RecordingLog final : public Log {
  public:
    void write(std::string_view line) override { lines.emplace_back(line); }

    std::vector<std::string> lines;
};

}  // namespace kv
