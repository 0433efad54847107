// SPDX-License-Identifier: MIT
#include "words/user_phrase_entry.h"

#include <algorithm>

#include "engine/cin_table.h"
#include "engine/code_rules.h"
#include "platform/services.h"

namespace kv {

namespace {

bool IsBlankOrBreak(char16_t c) {
    return transforms().isWhiteSpace(c) || Transforms::isLineBreak(c);
}

std::u16string Trimmed(std::string_view text) {
    const std::u16string decoded = Transforms::utf8ToUtf16(text);
    std::u16string_view view = decoded;
    while (!view.empty() && IsBlankOrBreak(view.front())) {
        view.remove_prefix(1);
    }
    while (!view.empty() && IsBlankOrBreak(view.back())) {
        view.remove_suffix(1);
    }
    return std::u16string(view);
}

}  // namespace

std::optional<UserPhraseEntry> KVUserPhraseEntry(std::string_view codeText,
                                                 std::string_view phraseText,
                                                 const cqinput::CinTable* table) {
    const std::string code = Transforms::utf16ToUtf8(transforms().lowercase(Trimmed(codeText)));
    const std::u16string phrase = Trimmed(phraseText);
    // The loader's own rule, so that a line written here is never one that refuses the file.
    const auto isTableKey = [table](char key) { return table == nullptr || table->isKey(key); };
    // A break inside the phrase would split the entry into two lines, the second without a code.
    const bool hasBreak =
        std::ranges::any_of(phrase, [](char16_t c) { return Transforms::isLineBreak(c); });
    std::string utf8 = Transforms::utf16ToUtf8(phrase);
    if (cqinput::codeProblem(code, isTableKey) || hasBreak || cqinput::phraseProblem(utf8)) {
        return std::nullopt;
    }
    return UserPhraseEntry{code, std::move(utf8)};
}

std::string KVUserPhraseLine(const UserPhraseEntry& entry) {
    return entry.code + " " + entry.phrase + "\n";
}

}  // namespace kv
