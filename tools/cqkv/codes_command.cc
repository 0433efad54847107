// SPDX-License-Identifier: MIT
#include "tools/cqkv/codes_command.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "engine/cin_parser.h"
#include "engine/cin_table.h"
#include "engine/text_util.h"
#include "tools/cqkv/file_io.h"
#include "tools/cqkv/resource_paths.h"
#include "tools/cqkv/table_loading.h"

namespace kv {

namespace {

constexpr std::string_view kCommand = "cqkv codes";

struct Placing {
    std::string code;
    std::size_t position = 0;  // in the code's list, from 1
};

// The characters of `text` in order of first appearance, blanks left out. `text` is UTF-8.
std::vector<std::string> DistinctCharacters(std::string_view text) {
    std::vector<std::string> characters;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string character(text.substr(i, length));
        i += length;
        const bool blank = character == " " || character == "\t" || character == "\n" ||
                           character == "\r" || character == "\u3000";
        if (!blank &&
            std::find(characters.begin(), characters.end(), character) == characters.end()) {
            characters.push_back(character);
        }
    }
    return characters;
}

// Where each wanted character stands in the lists of the table's codes. The quickest to type
// come first: a character's first place in a list before its later ones, then shorter codes.
std::map<std::string, std::vector<Placing>, std::less<>> PlacingsOf(
    std::string_view tableText, const std::vector<std::string>& wanted) {
    cqinput::CodeMap chardef;
    cqinput::KeyMap keynames;
    cqinput::KeyMap properties;
    cqinput::parseCin(tableText, chardef, keynames, properties);
    std::map<std::string, std::vector<Placing>, std::less<>> placings;
    for (const std::string& character : wanted) {
        placings[character];
    }
    for (const cqinput::CodeMap::Entry& entry : chardef.entries()) {
        const auto candidates = chardef.candidates(entry);
        for (std::size_t k = 0; k < candidates.size(); ++k) {
            const auto found = placings.find(candidates[k]);
            if (found != placings.end() &&
                (found->second.empty() || found->second.back().code != entry.code)) {
                found->second.push_back({entry.code, k + 1});
            }
        }
    }
    for (auto& [character, list] : placings) {
        std::sort(list.begin(), list.end(), [](const Placing& a, const Placing& b) {
            return std::tuple(a.position, a.code.size(), a.code) <
                   std::tuple(b.position, b.code.size(), b.code);
        });
    }
    return placings;
}

std::string Ordinal(std::size_t n) {
    const std::size_t lastTwo = n % 100;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        switch (n % 10) {
            case 1:
                suffix = "st";
                break;
            case 2:
                suffix = "nd";
                break;
            case 3:
                suffix = "rd";
                break;
            default:
                break;
        }
    }
    return std::to_string(n) + suffix;
}

// The roots of a code's keys; a key without a root stands for itself.
std::string Reading(const cqinput::CinTable& table, std::string_view code) {
    std::string reading;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const std::string label = table.keyLabel(code.substr(i, 1));
        reading += label.empty() ? std::string(code.substr(i, 1)) : label;
    }
    return reading;
}

std::string JoinedText(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

}  // namespace

int runCodes(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const std::string text = JoinedText(arguments.positional);
    if (text.empty()) {
        err << kCommand << ": no text given (see cqkv codes --help)\n";
        return 2;
    }
    if (!cqinput::detail::validUtf8(text)) {
        err << kCommand << ": the text is not valid UTF-8\n";
        return 2;
    }
    const std::filesystem::path path =
        arguments.table ? std::filesystem::path(*arguments.table) : defaultTablePath();
    cqinput::CinTable table;
    if (!loadTableOrReport(table, path, kCommand, err)) {
        return 1;
    }
    // The loaded table answers codes, not characters: its file is read again for the way back.
    std::string error;
    const std::optional<std::string> tableText = readWholeFile(path, error);
    if (!tableText) {
        err << kCommand << ": cannot read " << path.string() << ": " << error << '\n';
        return 1;
    }
    const std::vector<std::string> characters = DistinctCharacters(text);
    const auto placings = PlacingsOf(*tableText, characters);
    for (const std::string& character : characters) {
        const std::vector<Placing>& found = placings.find(character)->second;
        if (found.empty()) {
            out << character << "  not in the table\n";
        }
        for (const Placing& placing : found) {
            out << character << "  " << placing.code << " (" << Reading(table, placing.code) << ") "
                << Ordinal(placing.position) << '\n';
        }
    }
    return 0;
}

}  // namespace kv
