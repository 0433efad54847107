// SPDX-License-Identifier: MIT
// The services a picture is painted with: the memory bodies the tests and the session runner
// install, but with text measured by Pango, so rows and labels take the width real text takes.
// Puts the previous services back when it goes.
#pragma once

#include <memory>

#include "platform/memory/memory_services.h"

namespace kv {

class RenderServices {
  public:
    RenderServices();
    ~RenderServices();
    RenderServices(const RenderServices&) = delete;
    RenderServices& operator=(const RenderServices&) = delete;

    MemoryUserDefaults& defaults() const { return _memory.defaults(); }

  private:
    // Swaps the installed measurer with the one kept here.
    void SwapMeasurer();

    MemoryServices _memory;
    std::unique_ptr<TextMeasurer> _measurer;
};

}  // namespace kv
