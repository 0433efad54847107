// SPDX-License-Identifier: MIT
// The folders the program makes for the user's phrases and settings: readable by the user alone,
// whatever the umask, as the base directory rules ask of a data folder a program creates.
#pragma once

#include <filesystem>

namespace kv {

// Makes `directory` and every missing parent with mode 0700; folders already there keep their
// modes. True when `directory` is a directory afterwards.
bool CreatePrivateDirectories(const std::filesystem::path& directory);

}  // namespace kv
