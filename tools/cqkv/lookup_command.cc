// SPDX-License-Identifier: MIT
#include "tools/cqkv/lookup_command.h"

#include "engine/cin_table.h"
#include "tools/cqkv/table_loading.h"

namespace kv {

int runLookup(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.positional.empty()) {
        err << "cqkv lookup: no code given (see cqkv lookup --help)\n";
        return 2;
    }
    cqinput::CinTable table;
    if (!loadForCommand(table, arguments.table, arguments.user, "cqkv lookup", err)) {
        return 1;
    }
    const bool several = arguments.positional.size() > 1;
    for (const std::string& code : arguments.positional) {
        if (several) {
            out << code << ":\n";
        }
        for (const std::string& candidate : table.lookup(code)) {
            out << (several ? "  " : "") << candidate << '\n';
        }
    }
    return 0;
}

}  // namespace kv
