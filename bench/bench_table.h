// SPDX-License-Identifier: MIT
// The table every benchmark measures, loaded once, and samples of its codes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/cin_table.h"

namespace kv::bench {

// The table file; KV_BENCH_TABLE at configure time, the shipped table by default.
std::filesystem::path TablePath();

// The table, loaded on first use; the program stops with a message if it cannot be loaded.
const cqinput::CinTable& SharedTable();

// `count` codes of the table picked evenly at random (fixed seed), each at most `maxLength` bytes.
std::vector<std::string> SampleCodes(std::size_t count, std::size_t maxLength);

// `count` codes of one to six letters that the table does not know (fixed seed).
std::vector<std::string> SampleMisses(std::size_t count);

}  // namespace kv::bench
