// SPDX-License-Identifier: MIT
// Why a file would be refused. The loaders stay silent; this is what a person reads to find the
// line to mend.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "engine/cin_table.h"

namespace cqinput {

struct LoadProblem {
    std::size_t line = 0;  // 0 when the whole file is at fault
    std::string reason;
};

// Nothing when CinTable::load would accept the file.
std::optional<LoadProblem> checkTableFile(const std::filesystem::path& path);

// Nothing when `table`.loadUserDictionary would accept the file.
std::optional<LoadProblem> checkUserDictionaryFile(const std::filesystem::path& path,
                                                   const CinTable& table);

}  // namespace cqinput
