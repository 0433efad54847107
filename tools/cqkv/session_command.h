// SPDX-License-Identifier: MIT
// `cqkv session`: replays a scenario on the real controller and prints what each step did.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace kv {

// `args` are the words after "session": [--table FILE] [--user FILE] [--set KEY=VALUE]...
// SCRIPT... Prints one JSON line per token. Returns 0, or 2 for a usage error (an unknown
// option, setting or token) with a message on `err`.
int runSession(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

// The help text of the command.
std::string_view sessionUsage();

}  // namespace kv
