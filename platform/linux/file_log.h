// SPDX-License-Identifier: MIT
// The log of the input method on Linux: the file named by CQINPUTKV_LOG when that is set (the
// daemon discards a launched engine's output), standard error otherwise, which the desktop's
// journal keeps.
#pragma once

#include <fstream>
#include <string_view>

#include "platform/log.h"

namespace kv {

class FileLog final : public Log {
  public:
    FileLog();
    void write(std::string_view line) override;

  private:
    std::ofstream _file;
};

}  // namespace kv
