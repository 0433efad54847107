// SPDX-License-Identifier: MIT
#include "tools/cqkv/check_command.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "engine/cin_parser.h"
#include "engine/cin_table.h"
#include "engine/text_util.h"
#include "engine/user_dictionary.h"
#include "tools/cqkv/file_io.h"
#include "tools/cqkv/table_loading.h"

namespace kv {

namespace {

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + ' ' + std::string(count == 1 ? one : many);
}

std::string TableSummary(std::string_view text) {
    cqinput::CodeMap chardef;
    cqinput::KeyMap keynames;
    cqinput::KeyMap properties;
    cqinput::parseCin(text, chardef, keynames, properties);
    std::size_t candidates = 0;
    for (const cqinput::CodeMap::Entry& entry : chardef.entries()) {
        candidates += entry.count;
    }
    return "table, " + Counted(chardef.entries().size(), "code", "codes") + ", " +
           Counted(candidates, "candidate", "candidates") + ", " +
           Counted(keynames.size(), "key name", "key names");
}

std::string UserSummary(std::string_view text, const cqinput::CinTable& table) {
    cqinput::PhraseMap phrases;
    const auto isTableKey = [&table](char key) { return table.isKey(key); };
    cqinput::parseUserDictionary(text, isTableKey, phrases);
    std::size_t entries = 0;
    for (const auto& [code, list] : phrases) {
        entries += list.size();
    }
    return "user dictionary, " + Counted(entries, "entry", "entries");
}

void PrintProblem(std::ostream& out, const std::string& file, const cqinput::LoadProblem& problem) {
    out << cqinput::describeProblem(file, problem) << '\n';
}

// The table user dictionaries are checked against, loaded on first need.
struct ReferenceTable {
    const Arguments& arguments;
    std::ostream& err;
    std::optional<cqinput::CinTable> table;
    bool failed = false;

    cqinput::CinTable* get() {
        if (!table && !failed) {
            cqinput::CinTable loaded;
            failed = !loadForCommand(loaded, arguments.table, std::nullopt, "cqkv check", err);
            if (!failed) {
                table = std::move(loaded);
            }
        }
        return table ? &*table : nullptr;
    }
};

// 0 when `file` would load, 1 when not.
int CheckOne(const std::string& file, ReferenceTable& reference, std::ostream& out) {
    std::string error;
    const std::optional<std::string> text = readWholeFile(file, error);
    if (!text) {
        PrintProblem(out, file, {0, error});
        return 1;
    }
    const bool isTable = looksLikeTable(std::filesystem::path(file).filename().string(), *text);
    std::optional<cqinput::LoadProblem> problem;
    if (isTable) {
        cqinput::CinTable table;
        if (!table.load(file)) {
            problem = table.lastProblem();
        }
    } else {
        cqinput::CinTable* table = reference.get();
        if (table == nullptr) {
            return 1;
        }
        // Only the table's keys judge a dictionary, so the phrases of the last one may go.
        if (!table->loadUserDictionary(file)) {
            problem = table->lastProblem();
        }
    }
    if (problem) {
        PrintProblem(out, file, *problem);
        return 1;
    }
    out << file << ": OK ("
        << (isTable ? TableSummary(*text) : UserSummary(*text, *reference.get())) << ")\n";
    return 0;
}

}  // namespace

bool looksLikeTable(std::string_view fileName, std::string_view text) {
    if (fileName.ends_with(".cin")) {
        return true;
    }
    bool found = false;
    cqinput::detail::forEachLine(text, [&found](std::string_view line, std::size_t) {
        found = found || cqinput::detail::splitLine(line).first == "%chardef";
    });
    return found;
}

int runCheck(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.positional.empty()) {
        err << "cqkv check: no file given (see cqkv check --help)\n";
        return 2;
    }
    ReferenceTable reference{arguments, err, std::nullopt};
    int status = 0;
    for (const std::string& file : arguments.positional) {
        status = std::max(status, CheckOne(file, reference, out));
    }
    return status;
}

}  // namespace kv
