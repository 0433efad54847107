// SPDX-License-Identifier: MIT
// A list of input sources that a test fills, with the result each call should give.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/input_sources.h"

namespace kv {

class FakeInputSources final : public InputSources {
  public:
    struct Entry {
        InputSource source;
        bool enabled = false;
        std::int32_t enableResult = 0;
        std::int32_t selectResult = 0;
    };

    std::int32_t registerInputSource(const std::filesystem::path& bundle) override;
    std::vector<InputSource> createInputSourceList(bool includeAllInstalled) override;
    std::int32_t enableInputSource(const InputSource& source) override;
    std::int32_t selectInputSource(const InputSource& source) override;
    std::optional<InputSource> copyCurrentKeyboardInputSource() override { return current; }

    // The sources in list order, found by their reference.
    std::vector<Entry> entries;
    std::int32_t registerResult = 0;
    std::optional<InputSource> current;
    // What the desktop makes current right after a successful selection when it chooses on its
    // own (a panel picking its first input source); unset, the selected source stays current.
    std::optional<InputSource> chosenByDesktop;

    // Every call, in order: the bundles registered, the references enabled and selected.
    std::vector<std::filesystem::path> registered;
    std::vector<std::uint64_t> enableCalls;
    std::vector<std::uint64_t> selectCalls;
    int listCalls = 0;

  private:
    Entry* find(const InputSource& source);
};

}  // namespace kv
