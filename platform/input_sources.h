// SPDX-License-Identifier: MIT
// The desktop's list of input sources: registering an input method bundle, enabling and
// selecting its sources. Results are 0 on success, else the service's error code.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// One input source and the properties the service told of it; any may be absent.
struct InputSource {
    std::uint64_t reference = 0;  // the service's handle, passed back to enable and select
    std::optional<std::string> bundleID;
    std::optional<std::string> inputSourceID;
    std::optional<std::string> inputModeID;
    std::optional<std::string> inputSourceType;
    std::optional<bool> isSelectCapable;

    bool operator==(const InputSource&) const = default;
};

class InputSources {
  public:
    virtual ~InputSources() = default;
    virtual std::int32_t registerInputSource(const std::filesystem::path& bundle) = 0;
    // Every source; with `includeAllInstalled` also those installed but not enabled.
    virtual std::vector<InputSource> createInputSourceList(bool includeAllInstalled) = 0;
    virtual std::int32_t enableInputSource(const InputSource& source) = 0;
    virtual std::int32_t selectInputSource(const InputSource& source) = 0;
    virtual std::optional<InputSource> copyCurrentKeyboardInputSource() = 0;
};

}  // namespace kv
