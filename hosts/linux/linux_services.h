// SPDX-License-Identifier: MIT
// The Linux bodies of every service the input method uses, for the program's start.
#pragma once

#include <filesystem>

#include "platform/services.h"

namespace kv {

// The set for the bundle at `bundleRoot` (NAME.app); panels are GTK windows when there is a
// display.
ServiceSet LinuxServiceSet(const std::filesystem::path& bundleRoot);

}  // namespace kv
