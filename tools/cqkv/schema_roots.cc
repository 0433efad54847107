// SPDX-License-Identifier: MIT
#include "tools/cqkv/schema_roots.h"

#include <algorithm>
#include <vector>

#include "engine/text_util.h"

namespace kv {

namespace {

// The characters of well-formed UTF-8 text, one view each.
std::vector<std::string_view> SplitCharacters(std::string_view text) {
    std::vector<std::string_view> characters;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = 1;
        while (i + length < text.size() &&
               (static_cast<unsigned char>(text[i + length]) & 0xC0u) == 0x80u) {
            ++length;
        }
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

bool IsPrintableRoot(std::string_view root) {
    return std::none_of(root.begin(), root.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
}

// The roots a rule gives to the letters from `first` to `first` + 25, if it gives them all.
std::optional<LetterRoots> RootsOfRule(std::string_view source, std::string_view target,
                                       char first) {
    if (!cqinput::detail::validUtf8(source) || !cqinput::detail::validUtf8(target)) {
        return std::nullopt;
    }
    const std::vector<std::string_view> from = SplitCharacters(source);
    const std::vector<std::string_view> to = SplitCharacters(target);
    if (from.size() != to.size()) {
        return std::nullopt;
    }
    LetterRoots roots;
    for (std::size_t letter = 0; letter < roots.size(); ++letter) {
        const char letterKey = static_cast<char>(first + static_cast<char>(letter));
        const std::string_view key(&letterKey, 1);
        const auto at = std::find(from.begin(), from.end(), key);
        if (at == from.end() || !IsPrintableRoot(to[static_cast<std::size_t>(at - from.begin())])) {
            return std::nullopt;
        }
        roots[letter] = std::string(to[static_cast<std::size_t>(at - from.begin())]);
    }
    return roots;
}

struct XlitRule {
    std::string_view source;
    std::string_view target;
};

// Every "xlit" followed by a delimiter, a source, the delimiter, a target and the delimiter.
std::vector<XlitRule> FindXlitRules(std::string_view schema) {
    constexpr std::string_view kXlit = "xlit";
    std::vector<XlitRule> rules;
    for (std::size_t at = schema.find(kXlit); at != std::string_view::npos;
         at = schema.find(kXlit, at + 1)) {
        std::string_view rest = schema.substr(at + kXlit.size());
        if (rest.empty() || rest.front() == '\n' || rest.front() == ' ') {
            continue;
        }
        const char delimiter = rest.front();
        rest.remove_prefix(1);
        const std::size_t middle = rest.find(delimiter);
        if (middle == std::string_view::npos) {
            continue;
        }
        const std::size_t end = rest.find(delimiter, middle + 1);
        const std::size_t lineEnd = rest.find('\n');
        if (end == std::string_view::npos || (lineEnd != std::string_view::npos && end > lineEnd)) {
            continue;
        }
        rules.push_back({rest.substr(0, middle), rest.substr(middle + 1, end - middle - 1)});
    }
    return rules;
}

}  // namespace

std::optional<LetterRoots> parseLetterRoots(std::string_view schema) {
    const std::vector<XlitRule> rules = FindXlitRules(schema);
    for (const char first : {'a', 'A'}) {
        for (const XlitRule& rule : rules) {
            if (std::optional<LetterRoots> roots = RootsOfRule(rule.source, rule.target, first)) {
                return roots;
            }
        }
    }
    return std::nullopt;
}

}  // namespace kv
