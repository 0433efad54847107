// SPDX-License-Identifier: MIT
// cqkv: look codes up, type key sequences, check and import tables, or type interactively.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/cin_table.h"
#include "tools/cqkv/dispatch.h"
#include "tools/cqkv/interactive_terminal.h"
#include "tools/cqkv/resource_paths.h"
#include "tools/cqkv/table_loading.h"
#include "tools/cqkv/usage.h"

namespace {

int RunInteractive() {
    cqinput::CinTable table;
    if (!kv::loadTableOrReport(table, kv::defaultTablePath(), "cqkv", std::cerr)) {
        return 1;
    }
    const std::optional<std::filesystem::path> user =
        kv::userDictionaryPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (user && !kv::loadUserDictionaryOrReport(table, *user, "cqkv", std::cerr)) {
        return 1;
    }
    return kv::runInteractiveTerminal(table, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (!args.empty()) {
        return kv::dispatchCommand(args, std::cout, std::cerr);
    }
    if (::isatty(STDIN_FILENO) == 0) {
        std::cerr << "cqkv: the interactive session needs a terminal\n\n" << kv::generalUsage();
        return 2;
    }
    return RunInteractive();
}
