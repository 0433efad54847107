// SPDX-License-Identifier: MIT
#include "tools/cqkv/table_loading.h"

#include "tools/cqkv/resource_paths.h"

namespace kv {

namespace {

void Report(std::ostream& err, std::string_view command, std::string_view what,
            const std::filesystem::path& path, const std::optional<cqinput::LoadProblem>& problem) {
    err << command << ": cannot load the " << what << ' ' << path.string() << ": ";
    if (!problem) {
        err << "the file changed or could not be read while it was loaded\n";
    } else if (problem->line == 0) {
        err << problem->reason << '\n';
    } else {
        err << "line " << problem->line << ": " << problem->reason << '\n';
    }
}

}  // namespace

bool loadTableOrReport(cqinput::CinTable& table, const std::filesystem::path& path,
                       std::string_view command, std::ostream& err) {
    if (table.load(path)) {
        return true;
    }
    Report(err, command, "table", path, table.lastProblem());
    return false;
}

bool loadUserDictionaryOrReport(cqinput::CinTable& table, const std::filesystem::path& path,
                                std::string_view command, std::ostream& err) {
    if (table.loadUserDictionary(path)) {
        return true;
    }
    Report(err, command, "user dictionary", path, table.lastProblem());
    return false;
}

bool loadForCommand(cqinput::CinTable& table, const std::optional<std::string>& tablePath,
                    const std::optional<std::string>& userPath, std::string_view command,
                    std::ostream& err) {
    const std::filesystem::path path =
        tablePath ? std::filesystem::path(*tablePath) : defaultTablePath();
    if (!loadTableOrReport(table, path, command, err)) {
        return false;
    }
    return !userPath || loadUserDictionaryOrReport(table, *userPath, command, err);
}

}  // namespace kv
