// SPDX-License-Identifier: MIT
// Feeds bytes to the CIN parser and checks what the table's readers rely on: every value is a
// view into the text, every key is folded and found again. Then loads the same bytes as a table
// file and compares lookups of codes and wildcard patterns taken from them with a plain scan.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "engine/cin_parser.h"
#include "engine/cin_table.h"
#include "engine/code_map.h"
#include "engine/input_engine.h"
#include "engine/text_util.h"

namespace {

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

bool Inside(std::string_view view, std::string_view text) {
    const std::less_equal<const char*> atMost;
    return view.empty() || (atMost(text.data(), view.data()) &&
                            atMost(view.data() + view.size(), text.data() + text.size()));
}

bool IsFolded(std::string_view key) {
    return std::none_of(key.begin(), key.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

bool IsTrimmedValue(std::string_view value) {
    return value.find_first_of("\r\n") == std::string_view::npos &&
           (value.empty() || (value.front() != ' ' && value.front() != '\t' &&
                              value.back() != ' ' && value.back() != '\t'));
}

void CheckKeyMap(const cqinput::KeyMap& map, std::string_view text) {
    for (const auto& [key, value] : map) {
        Require(IsFolded(key), "a key name or property name is not folded");
        Require(Inside(value, text), "a label or property value points outside the text");
        Require(IsTrimmedValue(value), "a label or property value keeps blanks or a line end");
    }
}

void CheckCharDefs(const cqinput::CodeMap& chardef, std::string_view text) {
    for (const cqinput::CodeMap::Entry& entry : chardef.entries()) {
        Require(!entry.code.empty() && IsFolded(entry.code), "a code is empty or not folded");
        Require(entry.code.find_first_of(" \t\r\n") == std::string::npos, "a code holds a blank");
        const auto candidates = chardef.candidates(entry);
        Require(!candidates.empty(), "a code without candidates");
        for (const std::string_view candidate : candidates) {
            Require(!candidate.empty() && Inside(candidate, text), "a candidate outside the text");
            Require(IsTrimmedValue(candidate), "a candidate keeps blanks or a line end");
        }
        const auto found = chardef.find(entry.code);
        Require(found.data() == candidates.data() && found.size() == candidates.size(),
                "a code is not found again");
    }
}

// What lookup must give for `raw` on a table without user phrases, by a plain scan.
std::vector<std::string> Expected(const cqinput::CodeMap& chardef, std::string_view raw) {
    const std::string code = cqinput::detail::lowerAscii(raw);
    std::vector<std::string> result;
    if (code.size() < 2 || code.find_first_of("*?") == std::string::npos) {
        const auto found = chardef.find(code);
        result.assign(found.begin(), found.end());
        return result;
    }
    std::vector<std::string_view> codes;
    for (const cqinput::CodeMap::Entry& entry : chardef.entries()) {
        if (cqinput::detail::wildcardMatch(code, entry.code)) {
            codes.push_back(entry.code);
        }
    }
    // char_traits<char> compares bytes as unsigned, a prefix first.
    std::sort(codes.begin(), codes.end());
    for (const std::string_view match : codes) {
        const auto found = chardef.find(match);
        result.insert(result.end(), found.begin(), found.end());
    }
    return result;
}

std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string joined;
    for (const std::string_view part : parts) {
        joined.append(part);
    }
    return joined;
}

// Codes and patterns to look up: a few codes of the table, turned into patterns, and the start
// of the input itself.
std::vector<std::string> Probes(const cqinput::CodeMap& chardef, std::string_view text) {
    std::vector<std::string> probes{std::string(text.substr(0, 6))};
    const std::size_t count = std::min<std::size_t>(chardef.entries().size(), 3);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& code = chardef.entries()[i].code;
        probes.push_back(code);
        const std::string_view first = std::string_view(code).substr(0, 1);
        const std::string_view last = std::string_view(code).substr(code.size() - 1);
        probes.push_back(Joined({"?", std::string_view(code).substr(1)}));
        probes.push_back(Joined({first, "*"}));
        probes.push_back(Joined({"*", last}));
        probes.push_back(Joined({first, "*", last}));
        std::string upper = code;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
            return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c;
        });
        probes.push_back(std::move(upper));
    }
    return probes;
}

void CheckEngine(const cqinput::CinTable& table, std::string_view keys) {
    cqinput::InputEngine engine(table);
    for (const char key : keys.substr(0, 12)) {
        const cqinput::EngineAction action = engine.pressCode(key);
        Require(engine.code.size() <= 6, "a typed code longer than six keys");
        Require(engine.candidates.empty() || !engine.code.empty(), "candidates without a code");
        Require(action.kind != cqinput::ActionKind::Commit || !action.text.empty(),
                "an empty commit");
    }
    engine.trigger();
    engine.choose(0);
    engine.backspace();
    Require(engine.cancel().kind == cqinput::ActionKind::Clear, "cancel does not clear");
    Require(engine.code.empty() && engine.candidates.empty(), "cancel leaves a composition");
}

// The table file of this process, removed when it ends. In memory where the system offers it:
// a disk file would be written for every run.
class TableFile {
  public:
    TableFile() {
        std::error_code error;
        std::filesystem::path directory = "/dev/shm";
        if (!std::filesystem::is_directory(directory, error)) {
            directory = std::filesystem::temp_directory_path(error);
        }
        path_ = directory / ("kv-fuzz-cin-table-" + std::to_string(::getpid()) + ".cin");
    }
    ~TableFile() {
        std::error_code error;
        std::filesystem::remove(path_, error);
    }
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // False if the file could not be written whole.
    bool write(std::string_view bytes) const {
        // A new file each time: ext4 flushes a file that was truncated and written again when
        // it is closed.
        std::error_code error;
        std::filesystem::remove(path_, error);
        std::ofstream out(path_, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        return out.good();
    }

  private:
    std::filesystem::path path_;
};

void CheckTable(const cqinput::CodeMap& chardef, const cqinput::KeyMap& properties,
                std::string_view text) {
    static const TableFile file;
    if (!file.write(text)) {
        return;
    }
    cqinput::CinTable table;
    const bool loaded = table.load(file.path());
    Require(loaded == !chardef.empty(), "load disagrees with the parser");
    if (!loaded) {
        return;
    }
    for (const std::string& probe : Probes(chardef, text)) {
        Require(table.lookup(probe) == Expected(chardef, probe), "lookup gives a wrong list");
    }
    for (const auto& [name, value] : properties) {
        Require(table.property(name) == value, "a property is not found");
    }
    CheckEngine(table, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Read straight from the fuzzer's buffer, so that a read past the end is caught.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    cqinput::CodeMap chardef;
    cqinput::KeyMap keynames;
    cqinput::KeyMap properties;
    cqinput::parseCin(text, chardef, keynames, properties);
    CheckCharDefs(chardef, text);
    CheckKeyMap(keynames, text);
    CheckKeyMap(properties, text);
    CheckTable(chardef, properties, text);
    return 0;
}
