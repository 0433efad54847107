// SPDX-License-Identifier: MIT
// A new user dictionary entry as typed into the words window: checked so that the line written
// is one the loader takes, since one refused line disables every user phrase.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cqinput {
class CinTable;
}

namespace kv {

struct UserPhraseEntry {
    std::string code;
    std::string phrase;
    bool operator==(const UserPhraseEntry&) const = default;
};

// The entry of the two fields: both trimmed of blanks and line breaks, the code lower-cased.
// Nothing unless the code passes the loader's rule (cqinput::codeProblem: 1 to 6 characters, each
// "*", "?" or a key named by `table`) and the phrase passes the loader's rule too
// (cqinput::phraseProblem: not empty, no NUL, at most 1,000 characters) and holds no line break.
// Without a table the keys cannot be checked and any printable ASCII character passes.
std::optional<UserPhraseEntry> KVUserPhraseEntry(std::string_view codeText,
                                                 std::string_view phraseText,
                                                 const cqinput::CinTable* table);

// The line appended to the file: code, one space, phrase, LF.
std::string KVUserPhraseLine(const UserPhraseEntry& entry);

}  // namespace kv
