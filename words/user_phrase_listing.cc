// SPDX-License-Identifier: MIT
#include "words/user_phrase_listing.h"

#include <algorithm>

#include "platform/services.h"

namespace kv {

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;

bool EndsLine(char16_t c) {
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

// Blanks are all in the basic plane, so a unit of a surrogate pair is never one.
bool IsBlank(char16_t c) {
    return transforms().isWhiteSpace(c);
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

void ListLine(std::u16string_view line, std::vector<UserPhraseRow>& rows) {
    std::size_t blank = 0;
    while (blank < line.size() && !IsBlank(line[blank])) {
        ++blank;
    }
    if (blank == 0 || blank == line.size()) {
        return;
    }
    const std::u16string_view phrase = TrimBlanks(line.substr(blank + 1));
    if (phrase.empty()) {
        return;
    }
    rows.push_back(
        {Transforms::utf16ToUtf8(line.substr(0, blank)), Transforms::utf16ToUtf8(phrase)});
}

}  // namespace

std::vector<UserPhraseRow> KVListUserPhrases(std::string_view text) {
    const std::u16string decoded = Transforms::utf8ToUtf16(text);
    std::u16string_view rest = decoded;
    // Decoding drops a byte order mark at the start of the text, as the loader does.
    if (!rest.empty() && rest.front() == kByteOrderMark) {
        rest.remove_prefix(1);
    }
    std::vector<UserPhraseRow> rows;
    while (!rest.empty()) {
        std::size_t end = 0;
        while (end < rest.size() && !EndsLine(rest[end])) {
            ++end;
        }
        ListLine(rest.substr(0, end), rows);
        // CR LF ends one line, not two; an empty line lists nothing either way.
        const bool crlf = end + 1 < rest.size() && rest[end] == u'\r' && rest[end + 1] == u'\n';
        rest.remove_prefix(std::min(rest.size(), end + (crlf ? 2 : 1)));
    }
    return rows;
}

}  // namespace kv
