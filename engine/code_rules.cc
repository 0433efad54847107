// SPDX-License-Identifier: MIT
#include "engine/code_rules.h"

#include <algorithm>

#include "engine/load_problem.h"
#include "engine/text_util.h"

namespace cqinput {

std::optional<std::string> codeProblem(std::string_view code,
                                       const std::function<bool(char)>& isTableKey) {
    if (code.empty()) {
        return std::string("the line begins with a space or tab, so its code is empty");
    }
    if (code.size() > kMaxCodeLength) {
        return "the code " + quotedForProblem(code) + " is not 1 to " +
               std::to_string(kMaxCodeLength) + " bytes long";
    }
    for (const char c : code) {
        const bool printable = c >= 0x21 && c <= 0x7E;
        if (!printable || !(isWildcard(c) || isTableKey(c))) {
            return "the code " + quotedForProblem(code) +
                   " holds a byte that is not a key of the table";
        }
    }
    return std::nullopt;
}

std::optional<std::string> phraseProblem(std::string_view phrase) {
    if (phrase.empty()) {
        return std::string("the line has a code but no phrase");
    }
    if (!detail::validUtf8(phrase)) {
        return std::string("the phrase is not valid UTF-8");
    }
    // A NUL would end the text an application is given there.
    if (phrase.find('\0') != std::string_view::npos) {
        return std::string("the phrase holds a NUL byte");
    }
    const auto characters =
        static_cast<std::size_t>(std::count_if(phrase.begin(), phrase.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    if (characters > kMaxPhraseLength) {
        return "the phrase is " + std::to_string(characters) + " characters long, more than " +
               std::to_string(kMaxPhraseLength);
    }
    return std::nullopt;
}

}  // namespace cqinput
