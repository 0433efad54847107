// SPDX-License-Identifier: MIT
#include "tools/cqkv/resource_paths.h"

#include <cstdlib>
#include <system_error>

#include "words/user_dictionary_url.h"

namespace kv {

namespace {

std::filesystem::path SourceTreeTable() {
    return std::filesystem::path(KV_SHIPPED_TABLE);
}

std::filesystem::path ExecutableDir() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

bool NonEmpty(const char* value) {
    return value != nullptr && *value != '\0';
}

}  // namespace

std::vector<std::filesystem::path> shippedTableCandidates(
    const std::filesystem::path& executableDir) {
    std::vector<std::filesystem::path> candidates;
    if (!executableDir.empty()) {
        candidates.push_back(executableDir / kTableFileName);
        candidates.push_back(executableDir.parent_path() / "share" / "cqinputkv" / kTableFileName);
    }
    candidates.push_back(SourceTreeTable());
    return candidates;
}

std::filesystem::path defaultTablePath() {
    for (const std::filesystem::path& candidate : shippedTableCandidates(ExecutableDir())) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return SourceTreeTable();
}

std::optional<std::filesystem::path> userDictionaryPath(const char* xdgDataHome, const char* home) {
    std::filesystem::path base;
    if (NonEmpty(xdgDataHome) && std::filesystem::path(xdgDataHome).is_absolute()) {
        base = xdgDataHome;
    } else if (NonEmpty(home)) {
        base = std::filesystem::path(home) / ".local" / "share";
    } else {
        return std::nullopt;
    }
    return KVUserDictionaryIn(base);
}

}  // namespace kv
