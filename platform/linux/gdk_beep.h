// SPDX-License-Identifier: MIT
// The system beep: the display's bell.
#pragma once

#include "platform/beep.h"

namespace kv {

class GdkBeep final : public Beep {
  public:
    void beep() override;
};

}  // namespace kv
