// SPDX-License-Identifier: MIT
#include "tools/cqkv/dictionary_import.h"

#include <algorithm>

#include "engine/text_util.h"

namespace kv {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), IsBlank);
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// Cuts `text` into lines at LF, dropping the CR of CR LF; `visit` returns false to stop.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
    std::size_t number = 1;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!visit(line, number)) {
            return;
        }
        if (end == std::string_view::npos) {
            return;
        }
        text.remove_prefix(end + 1);
        ++number;
    }
}

std::optional<std::string> CheckCode(std::string_view code) {
    if (code.empty()) {
        return "the code is empty";
    }
    if (!std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
        return "the code \"" + std::string(code) + "\" holds a character other than a to z";
    }
    return std::nullopt;
}

std::optional<std::string> CheckText(std::string_view text) {
    if (text.empty()) {
        return "the character is empty";
    }
    if (!cqinput::detail::validUtf8(text)) {
        return "the character is not valid UTF-8";
    }
    if (std::any_of(text.begin(), text.end(), IsControl)) {
        return "the character holds a control character";
    }
    if (text.front() == ' ' || text.back() == ' ') {
        return "the character begins or ends with a space";
    }
    return std::nullopt;
}

// Code points of the Private Use Area (U+E000 to U+F8FF, and planes 15 and 16) mean what a font
// or a program privately agrees they mean. The dictionary's few are old stand-ins for components
// that Unicode has since encoded; no standard font draws them, and committed they would mean
// nothing to other programs. `text` is well-formed UTF-8.
bool HoldsPrivateUseCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        const bool basicPlane = lead == 0xEE || (lead == 0xEF && next < 0xA4);
        const bool planes15And16 = (lead == 0xF3 && next >= 0xB0) || lead == 0xF4;
        if (basicPlane || planes15And16) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> ParseEntry(std::string_view line, DictionaryEntry& entry) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
        return "expected a character, a tab and a code";
    }
    entry.text = line.substr(0, tab);
    const std::string_view rest = line.substr(tab + 1);
    entry.code = rest.substr(0, rest.find('\t'));
    if (std::optional<std::string> problem = CheckText(entry.text)) {
        return problem;
    }
    return CheckCode(entry.code);
}

}  // namespace

std::optional<DictionaryProblem> parseRimeDictionary(std::string_view text,
                                                     std::vector<DictionaryEntry>& entries) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    bool inHeader = true;
    std::optional<DictionaryProblem> problem;
    ForEachLine(text, [&](std::string_view line, std::size_t number) {
        if (inHeader) {
            // The YAML document ends at a line of three dots, blanks after them allowed.
            inHeader = !(line.starts_with("...") && IsBlankLine(line.substr(3)));
            return true;
        }
        if (IsBlankLine(line) || line.front() == '#') {
            return true;
        }
        DictionaryEntry entry;
        if (std::optional<std::string> reason = ParseEntry(line, entry)) {
            problem = DictionaryProblem{number, std::move(*reason)};
            return false;
        }
        if (!HoldsPrivateUseCharacter(entry.text)) {
            entries.push_back(entry);
        }
        return true;
    });
    if (!problem && inHeader) {
        problem = DictionaryProblem{0, "the YAML header is never closed by a line \"...\""};
    }
    return problem;
}

}  // namespace kv
