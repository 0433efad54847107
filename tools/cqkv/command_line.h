// SPDX-License-Identifier: MIT
// The options of the tool's subcommands, parsed once into plain fields.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The options a subcommand accepts; any other is a usage error.
enum Option : std::uint32_t {
    kOptionTable = 1u << 0,   // --table FILE
    kOptionUser = 1u << 1,    // --user FILE
    kOptionJson = 1u << 2,    // --json
    kOptionDict = 1u << 3,    // --dict FILE
    kOptionSchema = 1u << 4,  // --schema FILE
    kOptionOut = 1u << 5,     // --out FILE
};

struct Arguments {
    std::optional<std::string> table;
    std::optional<std::string> user;
    std::optional<std::string> dict;
    std::optional<std::string> schema;
    std::optional<std::string> out;
    bool json = false;
    bool help = false;  // -h or --help, accepted by every subcommand
    std::vector<std::string> positional;
};

// Parses `args` (the words after the subcommand). Options take their value as the next word or
// after "="; "--" ends the options. Nothing, with `error` set, for an option that is unknown,
// not allowed by `allowed`, given twice, or missing its value.
std::optional<Arguments> parseArguments(std::span<const std::string_view> args,
                                        std::uint32_t allowed, std::string& error);

}  // namespace kv
