// SPDX-License-Identifier: MIT
// The system's alert sound, for a refused key or an invalid entry.
#pragma once

namespace kv {

class Beep {
  public:
    virtual ~Beep() = default;
    virtual void beep() = 0;
};

}  // namespace kv
