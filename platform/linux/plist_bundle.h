// SPDX-License-Identifier: MIT
// A bundle directory on disk: NAME.app/Contents/Info.plist and Contents/Resources/.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/bundle.h"
#include "platform/linux/info_plist.h"

namespace kv {

class PlistBundle final : public Bundle {
  public:
    // Reads the information dictionary once; a missing or unreadable one is empty.
    explicit PlistBundle(std::filesystem::path root);

    // The bundle that holds the running program as Contents/MacOS/NAME, if it is in one.
    static std::optional<std::filesystem::path> rootOfExecutable();

    std::optional<std::string> objectForInfoDictionaryKey(std::string_view key) const override;
    std::optional<std::string> bundleIdentifier() const override;
    std::optional<std::filesystem::path> pathForResource(std::string_view name,
                                                         std::string_view type) const override;

  private:
    std::filesystem::path _root;
    std::optional<InfoPlist> _info;
};

}  // namespace kv
