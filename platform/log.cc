// SPDX-License-Identifier: MIT
#include "platform/log.h"

#include <cstdio>

namespace kv {

void StandardErrorLog::write(std::string_view line) {
    std::fprintf(stderr, "CQ_Input_KV: %.*s\n", static_cast<int>(line.size()), line.data());
}

}  // namespace kv
