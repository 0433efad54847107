// SPDX-License-Identifier: MIT
#include "platform/memory/memory_files.h"

#include <random>

namespace kv {

std::optional<std::string> MemoryBundle::objectForInfoDictionaryKey(std::string_view key) const {
    const auto found = info.find(key);
    return found == info.end() ? std::nullopt : std::optional(found->second);
}

std::optional<std::string> MemoryBundle::bundleIdentifier() const {
    return objectForInfoDictionaryKey("CFBundleIdentifier");
}

std::optional<std::filesystem::path> MemoryBundle::pathForResource(std::string_view name,
                                                                   std::string_view type) const {
    std::string file(name);
    if (!type.empty()) {
        file += ".";
        file += type;
    }
    const auto found = resources.find(file);
    std::error_code error;
    if (found == resources.end() || !std::filesystem::is_regular_file(found->second, error)) {
        return std::nullopt;
    }
    return found->second;
}

TemporaryLocations::TemporaryLocations() {
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (;;) {
        _root = base / ("kv-test-" + std::to_string(random()) + std::to_string(random()));
        // create_directory is false when the name is taken: draw again.
        if (std::filesystem::create_directory(_root)) {
            break;
        }
    }
}

TemporaryLocations::~TemporaryLocations() {
    std::error_code ignored;
    std::filesystem::remove_all(_root, ignored);
}

std::optional<std::filesystem::path> TemporaryLocations::applicationSupportDirectory() const {
    if (unavailable) {
        return std::nullopt;
    }
    const std::filesystem::path directory = _root / "Application Support";
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        return std::nullopt;
    }
    return directory;
}

}  // namespace kv
