// SPDX-License-Identifier: MIT
// cqkv: look codes up, type key sequences, check and import tables, or type interactively on
// the input method itself.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

#include "tools/cqkv/dispatch.h"
#include "tools/cqkv/interactive_terminal.h"
#include "tools/cqkv/resource_paths.h"
#include "tools/cqkv/usage.h"

namespace {

// The user's own dictionary comes along, as the input method would read it; a copy, so that the
// session never writes to it.
int RunInteractive() {
    kv::SessionOptions options;
    options.table = kv::defaultTablePath();
    const std::optional<std::filesystem::path> user =
        kv::userDictionaryPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    std::error_code error;
    if (user && std::filesystem::exists(*user, error)) {
        options.user = *user;
    }
    return kv::runInteractiveTerminal(options, std::cerr);
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
