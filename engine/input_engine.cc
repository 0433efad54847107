// SPDX-License-Identifier: MIT
#include "engine/input_engine.h"

#include "engine/code_rules.h"

namespace cqinput {

namespace {

char FoldKey(char key) {
    return key >= 'A' && key <= 'Z' ? static_cast<char>(key + 0x20) : key;
}

}  // namespace

EngineAction InputEngine::pressCode(char key) {
    if (!candidates.empty()) {
        return {ActionKind::Reject, {}};
    }
    const char folded = FoldKey(key);
    if (!isWildcard(folded) && table->keyLabel(std::string_view(&folded, 1)).empty()) {
        return {};
    }
    if (code.size() >= kMaxCodeLength) {
        code.clear();
        return {ActionKind::Reject, {}};
    }
    code.push_back(folded);
    const std::string endKeys = table->property("endkey");
    if (endKeys.find(folded) != std::string::npos) {
        // A wildcard ends a code only as its first key; inside a code it is a pattern.
        if (!isWildcard(folded) || code.size() == 1) {
            return trigger();
        }
    }
    return {ActionKind::Compose, readingDisplay()};
}

EngineAction InputEngine::trigger() {
    if (code.empty()) {
        return {};
    }
    candidates = table->lookup(code);
    if (candidates.empty()) {
        code.clear();
        return {ActionKind::Reject, {}};
    }
    if (candidates.size() == 1) {
        return choose(0);
    }
    return {ActionKind::ShowCandidates, {}};
}

EngineAction InputEngine::choose(std::size_t index) {
    if (index >= candidates.size()) {
        return {};
    }
    std::string chosen = std::move(candidates[index]);
    candidates.clear();
    code.clear();
    return {ActionKind::Commit, std::move(chosen)};
}

EngineAction InputEngine::backspace() {
    candidates.clear();
    if (code.empty()) {
        return {};
    }
    code.pop_back();
    if (code.empty()) {
        return {ActionKind::Clear, {}};
    }
    return {ActionKind::Compose, readingDisplay()};
}

EngineAction InputEngine::cancel() {
    candidates.clear();
    code.clear();
    return {ActionKind::Clear, {}};
}

std::string InputEngine::readingDisplay() const {
    std::string reading;
    for (const char key : code) {
        const std::string label = table->keyLabel(std::string_view(&key, 1));
        if (label.empty()) {
            reading.push_back(key);
        } else {
            reading += label;
        }
    }
    return reading;
}

}  // namespace cqinput
