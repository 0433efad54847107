// SPDX-License-Identifier: MIT
// Per-test temporary files and small helpers shared by the engine suites.
#pragma once

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cin_table.h"

namespace cqinput::test {

using Strings = std::vector<std::string>;

using ::kvtest::TempDir;

// Moves the last-write time one second on, so that a change check sees a different time
// whatever the clock's resolution.
inline void touch(const std::filesystem::path& file) {
    std::filesystem::last_write_time(
        file, std::filesystem::last_write_time(file) + std::chrono::seconds(1));
}

// Writes new bytes and makes sure the last-write time differs from the one before.
inline void rewrite(const std::filesystem::path& file, std::string_view bytes) {
    const auto before = std::filesystem::last_write_time(file);
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::filesystem::last_write_time(file, before + std::chrono::seconds(1));
}

// The lines joined with `end` after each of them.
inline std::string lines(std::initializer_list<std::string_view> all, std::string_view end = "\n") {
    std::string text;
    for (const std::string_view line : all) {
        text.append(line).append(end);
    }
    return text;
}

// A table whose keys a to f are labelled 日 月 金 木 水 火.
inline std::string keyNames() {
    return lines(
        {"%keyname begin", "a 日", "b 月", "c 金", "d 木", "e 水", "f 火", "%keyname end"});
}

inline CinTable loadedTable(const std::filesystem::path& file) {
    CinTable table;
    EXPECT_TRUE(table.load(file)) << file;
    return table;
}

}  // namespace cqinput::test
