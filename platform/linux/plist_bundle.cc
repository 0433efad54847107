// SPDX-License-Identifier: MIT
#include "platform/linux/plist_bundle.h"

#include <fstream>
#include <iterator>

namespace kv {

namespace {

std::optional<std::string> ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return in.bad() ? std::nullopt : std::optional(std::move(bytes));
}

}  // namespace

PlistBundle::PlistBundle(std::filesystem::path root) : _root(std::move(root)) {
    if (const std::optional<std::string> bytes = ReadFile(_root / "Contents" / "Info.plist")) {
        _info = InfoPlist::parse(*bytes);
    }
}

std::optional<std::filesystem::path> PlistBundle::rootOfExecutable() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::nullopt;
    }
    const std::filesystem::path macos = program.parent_path();
    const std::filesystem::path contents = macos.parent_path();
    if (macos.filename() != "MacOS" || contents.filename() != "Contents") {
        return std::nullopt;
    }
    return contents.parent_path();
}

std::optional<std::string> PlistBundle::objectForInfoDictionaryKey(std::string_view key) const {
    return _info ? _info->stringForKey(key) : std::nullopt;
}

std::optional<std::string> PlistBundle::bundleIdentifier() const {
    return objectForInfoDictionaryKey("CFBundleIdentifier");
}

std::optional<std::filesystem::path> PlistBundle::pathForResource(std::string_view name,
                                                                  std::string_view type) const {
    std::string file(name);
    if (!type.empty()) {
        file += ".";
        file += type;
    }
    // A name is one file of Resources/, never a way out of it.
    if (file.empty() || file.find('/') != std::string::npos || file == "." || file == "..") {
        return std::nullopt;
    }
    const std::filesystem::path path = _root / "Contents" / "Resources" / file;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    return path;
}

}  // namespace kv
