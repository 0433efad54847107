// SPDX-License-Identifier: MIT
// A log file that stays small: a line that would take it past its limit first moves it to
// `<file>.1`, replacing the older one, so at most twice the limit is ever kept.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/log.h"

namespace kv {

class FileLog final : public Log {
  public:
    static constexpr std::uintmax_t kDefaultLimit = 256 * 1024;

    // The folder is made when missing; a file that cannot be written loses the line silently.
    explicit FileLog(std::filesystem::path file, std::uintmax_t limit = kDefaultLimit);
    void write(std::string_view line) override;

  private:
    std::filesystem::path _file;
    std::uintmax_t _limit;
};

}  // namespace kv
