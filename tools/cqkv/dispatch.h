// SPDX-License-Identifier: MIT
// Picks the subcommand from the command line and runs it.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace kv {

// `args` are the words after the program name, with a subcommand first ("lookup", "type",
// "check", "import", "help") or "--help". Returns the exit status; unknown subcommands and
// malformed options are usage errors (2) with a message on `err`.
int dispatchCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace kv
