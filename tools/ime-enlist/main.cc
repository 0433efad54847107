// SPDX-License-Identifier: MIT
// ime-enlist: registers the input method bundle with the desktop's input sources.
#include <iostream>
#include <string_view>
#include <vector>

#include "platform/linux/ibus_input_sources.h"
#include "tools/ime-enlist/enlist_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    kv::IBusInputSources sources;
    return kv::runImeEnlist(arguments, sources, std::cout, std::cerr);
}
