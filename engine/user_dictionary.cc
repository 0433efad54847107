// SPDX-License-Identifier: MIT
#include "engine/user_dictionary.h"

#include "engine/text_util.h"

namespace cqinput {

namespace {

constexpr std::size_t kMaxCodeLength = 6;

std::optional<std::string> CodeProblem(std::string_view code,
                                       const std::function<bool(char)>& isTableKey) {
    if (code.empty()) {
        return std::string("the line begins with a space or tab, so its code is empty");
    }
    if (code.size() > kMaxCodeLength) {
        return "the code \"" + std::string(code) + "\" is not 1 to 6 bytes long";
    }
    for (const char c : code) {
        const bool printable = c >= 0x21 && c <= 0x7E;
        if (!printable || !(c == '*' || c == '?' || isTableKey(c))) {
            return "the code \"" + std::string(code) +
                   "\" holds a byte that is not a key of the table";
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<LoadProblem> parseUserDictionary(std::string_view text,
                                               const std::function<bool(char)>& isTableKey,
                                               PhraseMap& phrases) {
    std::optional<LoadProblem> problem;
    detail::forEachLine(text, [&](std::string_view line, std::size_t lineNumber) {
        if (problem) {
            return;
        }
        const auto [rawCode, phrase] = detail::splitLine(line);
        std::string code = detail::lowerAscii(rawCode);
        if (std::optional<std::string> reason = CodeProblem(code, isTableKey)) {
            problem = LoadProblem{lineNumber, std::move(*reason)};
        } else if (phrase.empty()) {
            problem = LoadProblem{lineNumber, "the line has a code but no phrase"};
        } else if (!detail::validUtf8(phrase)) {
            problem = LoadProblem{lineNumber, "the phrase is not valid UTF-8"};
        } else {
            phrases[std::move(code)].emplace_back(phrase);
        }
    });
    return problem;
}

}  // namespace cqinput
