// SPDX-License-Identifier: MIT
#include "engine/cin_table.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <system_error>

#include "engine/file_snapshot.h"
#include "engine/text_util.h"

namespace cqinput {

namespace {

bool IsWildcardPattern(std::string_view code) {
    // A loop rather than find: codes are a few bytes, and find calls memchr each time.
    return code.size() >= 2 &&
           std::any_of(code.begin(), code.end(), [](char c) { return c == '*' || c == '?'; });
}

// Orders codes byte by byte as unsigned, a prefix first. The first eight bytes, big-endian, give
// most comparisons as one integer comparison.
struct SortableCode {
    std::uint64_t head = 0;
    std::string_view code;
    std::size_t index = 0;

    SortableCode(std::string_view c, std::size_t i) : code(c), index(i) {
        for (std::size_t k = 0; k < 8; ++k) {
            head = (head << 8) | (k < c.size() ? static_cast<unsigned char>(c[k]) : 0u);
        }
    }
    bool operator<(const SortableCode& other) const {
        if (head != other.head) {
            return head < other.head;
        }
        return code < other.code;
    }
};

// Conditions every matching code meets, cheaper to test than the match itself: a first or last
// pattern byte that is no wildcard is the code's first or last byte, every byte of the pattern
// but "*" takes one byte of the code, and a pattern without "*" takes the whole code.
class MatchFilter {
  public:
    explicit MatchFilter(std::string_view pattern) {
        const auto isLiteral = [](char c) { return c != '*' && c != '?'; };
        if (!pattern.empty() && isLiteral(pattern.front())) {
            first_ = pattern.front();
        }
        if (!pattern.empty() && isLiteral(pattern.back())) {
            last_ = pattern.back();
        }
        const auto stars =
            static_cast<std::size_t>(std::count(pattern.begin(), pattern.end(), '*'));
        minimum_ = pattern.size() - stars;
        exact_ = stars == 0;
    }

    bool mayMatch(std::string_view code) const {
        if (code.size() < minimum_ || (exact_ && code.size() != minimum_)) {
            return false;
        }
        return code.empty() ||
               ((!first_ || code.front() == *first_) && (!last_ || code.back() == *last_));
    }

  private:
    std::optional<char> first_;
    std::optional<char> last_;
    std::size_t minimum_ = 0;
    bool exact_ = false;
};

template <typename Codes, typename CodeOf>
std::vector<SortableCode> SortedMatches(std::string_view pattern, const Codes& codes,
                                        CodeOf codeOf) {
    const MatchFilter filter(pattern);
    std::vector<SortableCode> matches;
    std::size_t index = 0;
    for (const auto& item : codes) {
        const std::string_view code = codeOf(item);
        if (filter.mayMatch(code) && detail::wildcardMatch(pattern, code)) {
            matches.emplace_back(code, index);
        }
        ++index;
    }
    std::sort(matches.begin(), matches.end());
    return matches;
}

// The value of the folded `key`. The engine asks for a key's label several times per key press.
std::string FindFolded(const KeyMap& map, std::string_view key) {
    std::string storage;
    const auto found = map.find(detail::foldedView(key, storage));
    return found == map.end() ? std::string() : std::string(found->second);
}

}  // namespace

bool CinTable::load(const std::filesystem::path& path) {
    detail::StableRead read = detail::readStableFile(path);
    if (!read.snapshot) {
        problem = std::move(read.problem);
        return false;
    }
    std::optional<detail::FileSnapshot>& snapshot = read.snapshot;
    if (snapshot->text.empty()) {
        problem = LoadProblem{0, "the file is empty"};
        return false;
    }
    CinTable fresh;
    fresh.buffer = std::make_unique<std::string>(std::move(snapshot->text));
    fresh.tablePath = path;
    fresh.tableWriteTime = snapshot->stamp.writeTime;
    fresh.tableSize = snapshot->stamp.size;
    parseCin(*fresh.buffer, fresh.chardef, fresh.keynames, fresh.properties);
    if (fresh.chardef.empty()) {
        problem = LoadProblem{0,
                              "no character is defined: there is no \"%chardef begin\" section "
                              "with a line holding a code and a value"};
        return false;
    }
    fresh.userPath = std::move(userPath);
    fresh.userPhrases = std::move(userPhrases);
    fresh.userFileExists = userFileExists;
    fresh.userWriteTime = userWriteTime;
    fresh.userSize = userSize;
    *this = std::move(fresh);
    return true;
}

ReloadResult CinTable::reloadIfChanged() {
    if (tablePath.empty()) {
        problem = LoadProblem{0, "no table was loaded"};
        return ReloadResult::Failed;
    }
    const std::optional<detail::FileStamp> stamp = detail::queryStamp(tablePath);
    if (!stamp) {
        problem = unreadableFileProblem(tablePath);
        return ReloadResult::Failed;
    }
    if (stamp->size == tableSize && stamp->writeTime == tableWriteTime) {
        return ReloadResult::Unchanged;
    }
    // load() may be handed our own member; keep a copy of the path.
    const std::filesystem::path path = tablePath;
    return load(path) ? ReloadResult::Reloaded : ReloadResult::Failed;
}

bool CinTable::loadUserDictionary(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        userPath = path;
        userPhrases.clear();
        userFileExists = false;
        userWriteTime = {};
        userSize = 0;
        problem.reset();
        return true;
    }
    // A failed query (a folder that cannot be searched) falls to the read, which says why.
    detail::StableRead read = detail::readStableFile(path);
    if (!read.snapshot) {
        problem = std::move(read.problem);
        return false;
    }
    const detail::FileSnapshot& snapshot = *read.snapshot;
    PhraseMap fresh;
    const auto isTableKey = [this](char key) { return keynames.contains(std::string(1, key)); };
    if (std::optional<LoadProblem> refused =
            parseUserDictionary(snapshot.text, isTableKey, fresh)) {
        problem = std::move(refused);
        return false;
    }
    userPath = path;
    userPhrases = std::move(fresh);
    userFileExists = true;
    userWriteTime = snapshot.stamp.writeTime;
    userSize = snapshot.stamp.size;
    problem.reset();
    return true;
}

ReloadResult CinTable::reloadUserDictionaryIfChanged() {
    if (userPath.empty()) {
        problem = LoadProblem{0, "no user dictionary was loaded"};
        return ReloadResult::Failed;
    }
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(userPath, error);
    const bool exists = status.type() != std::filesystem::file_type::not_found;
    if (exists && error) {
        problem = unreadableFileProblem(userPath);
        return ReloadResult::Failed;
    }
    bool reload = false;
    if (!exists) {
        reload = userFileExists;
    } else if (!userFileExists) {
        reload = true;
    } else {
        const std::optional<detail::FileStamp> stamp = detail::queryStamp(userPath);
        if (!stamp) {
            problem = unreadableFileProblem(userPath);
            return ReloadResult::Failed;
        }
        reload = stamp->size != userSize || stamp->writeTime != userWriteTime;
    }
    if (!reload) {
        return ReloadResult::Unchanged;
    }
    const std::filesystem::path path = userPath;
    return loadUserDictionary(path) ? ReloadResult::Reloaded : ReloadResult::Failed;
}

std::vector<std::string> CinTable::lookup(std::string_view rawCode) const {
    std::string storage;
    const std::string_view code = detail::foldedView(rawCode, storage);
    std::vector<std::string> result;
    if (IsWildcardPattern(code)) {
        appendWildcardMatches(code, result);
        return result;
    }
    const std::span<const std::string_view> fromTable = chardef.find(code);
    // Most tables run without user phrases; skip building the key the phrase map needs.
    const auto user = userPhrases.empty() ? userPhrases.end() : userPhrases.find(std::string(code));
    result.reserve(fromTable.size() + (user == userPhrases.end() ? 0 : user->second.size()));
    result.assign(fromTable.begin(), fromTable.end());
    if (user != userPhrases.end()) {
        result.insert(result.end(), user->second.begin(), user->second.end());
    }
    return result;
}

void CinTable::appendWildcardMatches(std::string_view pattern,
                                     std::vector<std::string>& out) const {
    const auto& entries = chardef.entries();
    const auto tableMatches = SortedMatches(
        pattern, entries, [](const CodeMap::Entry& e) -> std::string_view { return e.code; });
    // The user's codes have no index; collect them once to refer to them by position.
    std::vector<const PhraseMap::value_type*> userCodes;
    userCodes.reserve(userPhrases.size());
    for (const auto& item : userPhrases) {
        userCodes.push_back(&item);
    }
    const auto userMatches = SortedMatches(
        pattern, userCodes,
        [](const PhraseMap::value_type* item) -> std::string_view { return item->first; });

    std::size_t total = 0;
    for (const SortableCode& match : tableMatches) {
        total += entries[match.index].count;
    }
    for (const SortableCode& match : userMatches) {
        total += userCodes[match.index]->second.size();
    }
    out.reserve(out.size() + total);
    for (const SortableCode& match : tableMatches) {
        const auto candidates = chardef.candidates(entries[match.index]);
        out.insert(out.end(), candidates.begin(), candidates.end());
    }
    for (const SortableCode& match : userMatches) {
        const auto& phrases = userCodes[match.index]->second;
        out.insert(out.end(), phrases.begin(), phrases.end());
    }
}

bool CinTable::isKey(char key) const {
    return keynames.contains(std::string(1, key));
}

std::string CinTable::keyLabel(std::string_view key) const {
    return FindFolded(keynames, key);
}

std::string CinTable::property(std::string_view name) const {
    return FindFolded(properties, name);
}

}  // namespace cqinput
