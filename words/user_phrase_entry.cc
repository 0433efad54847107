// SPDX-License-Identifier: MIT
#include "words/user_phrase_entry.h"

#include <algorithm>

#include "engine/cin_table.h"
#include "platform/services.h"

namespace kv {

namespace {

constexpr std::size_t kMaxCodeLength = 6;

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

// The loader's rule for a code character: printable ASCII other than space, and a wildcard or
// a key of the table.
bool IsCodeCharacter(char16_t c, const cqinput::CinTable* table) {
    if (c < 0x21 || c > 0x7E) {
        return false;
    }
    const char key = static_cast<char>(c);
    return key == '*' || key == '?' || table == nullptr ||
           !table->keyLabel(std::string_view(&key, 1)).empty();
}

}  // namespace

std::optional<UserPhraseEntry> KVUserPhraseEntry(std::string_view codeText,
                                                 std::string_view phraseText,
                                                 const cqinput::CinTable* table) {
    const std::u16string code = transforms().lowercase(Trimmed(codeText));
    const std::u16string phrase = Trimmed(phraseText);
    if (code.empty() || code.size() > kMaxCodeLength || phrase.empty()) {
        return std::nullopt;
    }
    const bool codeValid =
        std::ranges::all_of(code, [table](char16_t c) { return IsCodeCharacter(c, table); });
    // A break inside the phrase would split the entry into two lines, the second without a code.
    const bool phraseValid =
        std::ranges::none_of(phrase, [](char16_t c) { return Transforms::isLineBreak(c); });
    if (!codeValid || !phraseValid) {
        return std::nullopt;
    }
    return UserPhraseEntry{Transforms::utf16ToUtf8(code), Transforms::utf16ToUtf8(phrase)};
}

std::string KVUserPhraseLine(const UserPhraseEntry& entry) {
    return entry.code + " " + entry.phrase + "\n";
}

}  // namespace kv
