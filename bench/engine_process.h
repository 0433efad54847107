// SPDX-License-Identifier: MIT
// The engine's process, found by its command line in /proc, the libraries it loaded, and its
// memory as the kernel counts it.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string_view>

namespace kv::bench {

// A process of this desktop (same home folder and display), other than this one, whose command
// line contains `fragment`.
std::optional<pid_t> FindProcess(std::string_view fragment);

// Whether the process has a file mapped whose path contains `fragment` (a library it loaded).
bool MapsFile(pid_t pid, std::string_view fragment);

// A size field of /proc/<pid>/status such as "VmRSS" or "VmHWM", in bytes.
std::optional<double> StatusBytes(pid_t pid, std::string_view field);

}  // namespace kv::bench
