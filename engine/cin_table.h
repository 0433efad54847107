// SPDX-License-Identifier: MIT
// One parsed CIN character table and, beside it, the user phrase dictionary.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/cin_parser.h"
#include "engine/code_map.h"
#include "engine/load_problem.h"
#include "engine/user_dictionary.h"

namespace cqinput {

// The result of a change check: the file was unchanged, was read anew, or could not be read
// (in which case everything stays as it was and the next check tries again).
enum class ReloadResult : std::int32_t { Unchanged = 0, Reloaded = 1, Failed = 2 };

// The file formats are described in docs/formats.md.
class CinTable {
  public:
    CinTable() = default;
    CinTable(CinTable&&) noexcept = default;
    CinTable& operator=(CinTable&&) noexcept = default;
    CinTable(const CinTable&) = delete;
    CinTable& operator=(const CinTable&) = delete;
    ~CinTable() = default;

    // Replaces the table part with the CIN file at `path`; the user phrases stay. Returns false,
    // changing nothing, when the file cannot be read, is empty, changes while it is read, or
    // defines no character.
    bool load(const std::filesystem::path& path);
    // Loads the table anew when the size or the last-write time of its file has changed.
    ReloadResult reloadIfChanged();

    // Replaces the user phrases with the file at `path`; a missing file is an empty dictionary.
    // One line that breaks a rule refuses the whole file and keeps the phrases loaded before.
    // The table must be loaded first: codes are checked against its key names.
    bool loadUserDictionary(const std::filesystem::path& path);
    // Reloads the user phrases when their file appeared, disappeared or changed.
    ReloadResult reloadUserDictionaryIfChanged();
    // Why the last load or reload of either file refused it; nothing once one succeeds. An
    // unchanged file leaves it as it was.
    const std::optional<LoadProblem>& lastProblem() const { return problem; }

    // The candidates of `code`, table first, then user phrases; "*" and "?" are wildcards in
    // codes of two or more bytes.
    std::vector<std::string> lookup(std::string_view code) const;
    // Whether the table names `key` (folded) in its key names: a byte a code may hold.
    bool isKey(char key) const;
    // The root label of one key, or the empty string.
    std::string keyLabel(std::string_view key) const;
    // The value of a "%name value" line, or the empty string.
    std::string property(std::string_view name) const;

  private:
    void appendWildcardMatches(std::string_view pattern, std::vector<std::string>& out) const;

    std::unique_ptr<std::string> buffer;
    std::filesystem::path tablePath;
    CodeMap chardef;
    KeyMap keynames;
    KeyMap properties;
    std::filesystem::path userPath;
    PhraseMap userPhrases;
    bool userFileExists = false;
    std::filesystem::file_time_type userWriteTime{};
    std::uint64_t userSize = 0;
    std::filesystem::file_time_type tableWriteTime{};
    std::uint64_t tableSize = 0;
    std::optional<LoadProblem> problem;
};

}  // namespace cqinput
