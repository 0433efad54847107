// SPDX-License-Identifier: MIT
#include "engine/load_problem.h"

#include <system_error>

namespace cqinput {

LoadProblem unreadableFileProblem(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {0, "the file does not exist"};
    }
    if (std::filesystem::is_directory(path, error)) {
        return {0, "the path is a directory"};
    }
    return {0, "the file cannot be read, or changed while it was read"};
}

std::string describeProblem(std::string_view file, const LoadProblem& problem) {
    std::string text(file);
    if (problem.line != 0) {
        text += ':' + std::to_string(problem.line);
    }
    return text + ": " + problem.reason;
}

}  // namespace cqinput
