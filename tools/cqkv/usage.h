// SPDX-License-Identifier: MIT
// The tool's help texts.
#pragma once

#include <string_view>

namespace kv {

// "cqkv --help": every subcommand in a line or two.
std::string_view generalUsage();

// "cqkv COMMAND --help"; empty for an unknown command.
std::string_view commandUsage(std::string_view command);

}  // namespace kv
