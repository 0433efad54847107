// SPDX-License-Identifier: MIT
// How the words window lists the user dictionary: more leniently than the loader, so that every
// line with a code and a phrase shows, also one the loader would refuse.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct UserPhraseRow {
    std::string code;  // as written, not folded
    std::string phrase;
    bool operator==(const UserPhraseRow&) const = default;
};

// The rows of the file's `text`. Text that is not well-formed UTF-8 lists as empty. Lines end at
// LF, CR, CR LF and the Unicode line and paragraph separators; the code is what comes before the
// first blank (tab or a Unicode space separator), the phrase what comes after it, trimmed of
// blanks. A line without a blank, starting with one, or with a blank phrase is left out.
std::vector<UserPhraseRow> KVListUserPhrases(std::string_view text);

}  // namespace kv
