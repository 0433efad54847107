// SPDX-License-Identifier: MIT
// Opening files with the desktop's default application for their type, through GIO.
#pragma once

#include "platform/workspace.h"

namespace kv {

class GioWorkspace final : public Workspace {
  public:
    bool openFile(const std::filesystem::path& file) override;
};

}  // namespace kv
