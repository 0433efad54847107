// SPDX-License-Identifier: MIT
#include "engine/load_check.h"

#include <system_error>

#include "engine/file_snapshot.h"

namespace cqinput {

namespace {

LoadProblem Unreadable(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {0, "the file does not exist"};
    }
    if (std::filesystem::is_directory(path, error)) {
        return {0, "the path is a directory"};
    }
    return {0, "the file cannot be read"};
}

}  // namespace

std::optional<LoadProblem> checkTableFile(const std::filesystem::path& path) {
    const std::optional<detail::FileSnapshot> snapshot = detail::readStableFile(path);
    if (!snapshot) {
        return Unreadable(path);
    }
    if (snapshot->text.empty()) {
        return LoadProblem{0, "the file is empty"};
    }
    CodeMap chardef;
    KeyMap keynames;
    KeyMap properties;
    parseCin(snapshot->text, chardef, keynames, properties);
    if (chardef.empty()) {
        return LoadProblem{
            0,
            "no character is defined: there is no \"%chardef begin\" section with a line "
            "holding a code and a value"};
    }
    return std::nullopt;
}

std::optional<LoadProblem> checkUserDictionaryFile(const std::filesystem::path& path,
                                                   const CinTable& table) {
    std::error_code error;
    if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found) {
        return std::nullopt;  // a missing dictionary is an empty one
    }
    const std::optional<detail::FileSnapshot> snapshot = detail::readStableFile(path);
    if (!snapshot) {
        return Unreadable(path);
    }
    PhraseMap phrases;
    const auto isTableKey = [&table](char key) {
        return !table.keyLabel(std::string_view(&key, 1)).empty();
    };
    if (std::optional<UserDictionaryProblem> problem =
            parseUserDictionary(snapshot->text, isTableKey, phrases)) {
        return LoadProblem{problem->line, std::move(problem->reason)};
    }
    return std::nullopt;
}

}  // namespace cqinput
