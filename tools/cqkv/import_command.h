// SPDX-License-Identifier: MIT
// `cqkv import`: converts a Rime dictionary and its schema's roots into a CIN table.
#pragma once

#include <ostream>

#include "tools/cqkv/command_line.h"

namespace kv {

inline constexpr std::string_view kDefaultRimeDictionary =
    "/usr/share/rime-data/cangjie5.dict.yaml";
inline constexpr std::string_view kDefaultRimeSchema = "/usr/share/rime-data/cangjie5.schema.yaml";

// Reads --dict and --schema (the Debian paths by default) and writes the table to --out, or to
// `out` when --out is absent or "-". Returns the exit status: 0, or 1 when an input cannot be
// read or converted or the output cannot be written (one line on `err`).
int runImport(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace kv
