// SPDX-License-Identifier: MIT
#include "engine/user_dictionary.h"

#include "engine/code_rules.h"
#include "engine/text_util.h"

namespace cqinput {

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
        if (std::optional<std::string> reason = codeProblem(code, isTableKey)) {
            problem = LoadProblem{lineNumber, std::move(*reason)};
        } else if (std::optional<std::string> phraseReason = phraseProblem(phrase)) {
            problem = LoadProblem{lineNumber, std::move(*phraseReason)};
        } else {
            phrases[std::move(code)].emplace_back(phrase);
        }
    });
    return problem;
}

}  // namespace cqinput
