// SPDX-License-Identifier: MIT
// The file-related services in memory: a bundle whose resources a test names, a temporary
// application support directory per test, and a workspace that records what it was asked
// to open.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/bundle.h"
#include "platform/locations.h"
#include "platform/workspace.h"

namespace kv {

class MemoryBundle final : public Bundle {
  public:
    std::optional<std::string> objectForInfoDictionaryKey(std::string_view key) const override;
    std::optional<std::string> bundleIdentifier() const override;
    std::optional<std::filesystem::path> pathForResource(std::string_view name,
                                                         std::string_view type) const override;

    // The information dictionary; CFBundleIdentifier is the identifier.
    std::map<std::string, std::string, std::less<>> info;
    // Resource files by "name.type"; a path is only returned when the file exists.
    std::map<std::string, std::filesystem::path, std::less<>> resources;
};

// A directory of its own, made fresh for every test and removed with everything in it after.
class TemporaryLocations final : public Locations {
  public:
    TemporaryLocations();
    ~TemporaryLocations() override;
    TemporaryLocations(const TemporaryLocations&) = delete;
    TemporaryLocations& operator=(const TemporaryLocations&) = delete;

    // root()/"Application Support", created on the first call, as the desktop's look-up does.
    std::optional<std::filesystem::path> applicationSupportDirectory() const override;

    const std::filesystem::path& root() const { return _root; }
    // Pretends the directory can neither be found nor made.
    bool unavailable = false;

  private:
    std::filesystem::path _root;
};

class RecordingWorkspace final : public Workspace {
  public:
    bool openFile(const std::filesystem::path& file) override {
        opened.push_back(file);
        return succeeds;
    }
    std::vector<std::filesystem::path> opened;
    bool succeeds = true;
};

}  // namespace kv
