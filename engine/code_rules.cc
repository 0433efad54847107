// SPDX-License-Identifier: MIT
#include "engine/code_rules.h"

namespace cqinput {

std::optional<std::string> codeProblem(std::string_view code,
                                       const std::function<bool(char)>& isTableKey) {
    if (code.empty()) {
        return std::string("the line begins with a space or tab, so its code is empty");
    }
    if (code.size() > kMaxCodeLength) {
        return "the code \"" + std::string(code) + "\" is not 1 to " +
               std::to_string(kMaxCodeLength) + " bytes long";
    }
    for (const char c : code) {
        const bool printable = c >= 0x21 && c <= 0x7E;
        if (!printable || !(isWildcard(c) || isTableKey(c))) {
            return "the code \"" + std::string(code) +
                   "\" holds a byte that is not a key of the table";
        }
    }
    return std::nullopt;
}

}  // namespace cqinput
