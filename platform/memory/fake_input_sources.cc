// SPDX-License-Identifier: MIT
#include "platform/memory/fake_input_sources.h"

#include <algorithm>

namespace kv {

namespace {

// What the desktop answers for a source it does not know.
constexpr std::int32_t kParameterError = -50;

}  // namespace

std::int32_t FakeInputSources::registerInputSource(const std::filesystem::path& bundle) {
    registered.push_back(bundle);
    return registerResult;
}

std::vector<InputSource> FakeInputSources::createInputSourceList(bool includeAllInstalled) {
    ++listCalls;
    std::vector<InputSource> list;
    for (const Entry& entry : entries) {
        if (includeAllInstalled || entry.enabled) {
            list.push_back(entry.source);
        }
    }
    return list;
}

std::int32_t FakeInputSources::enableInputSource(const InputSource& source) {
    enableCalls.push_back(source.reference);
    Entry* entry = find(source);
    if (entry == nullptr) {
        return kParameterError;
    }
    if (entry->enableResult == 0) {
        entry->enabled = true;
    }
    return entry->enableResult;
}

std::int32_t FakeInputSources::selectInputSource(const InputSource& source) {
    selectCalls.push_back(source.reference);
    Entry* entry = find(source);
    if (entry == nullptr) {
        return kParameterError;
    }
    if (entry->selectResult == 0) {
        current = chosenByDesktop.value_or(entry->source);
    }
    return entry->selectResult;
}

FakeInputSources::Entry* FakeInputSources::find(const InputSource& source) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) {
        return entry.source.reference == source.reference;
    });
    return found == entries.end() ? nullptr : &*found;
}

}  // namespace kv
