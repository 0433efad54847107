// SPDX-License-Identifier: MIT
// The composition state of one input session: the keys typed so far and, once triggered, the
// candidates to choose from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/cin_table.h"

namespace cqinput {

enum class ActionKind : std::int32_t {
    None = 0,            // nothing happened; the key is not the engine's
    Compose = 1,         // `text` is the reading of the code so far
    ShowCandidates = 2,  // `candidates` holds two or more choices
    Commit = 3,          // `text` is to be inserted
    Clear = 4,           // the composition is gone
    Reject = 5,          // the key was refused; the caller beeps
};

struct EngineAction {
    ActionKind kind = ActionKind::None;
    std::string text;
};

class InputEngine {
  public:
    // The table must outlive the engine.
    explicit InputEngine(const CinTable& source) : table(&source) {}

    EngineAction pressCode(char key);
    EngineAction trigger();
    EngineAction choose(std::size_t index);
    EngineAction backspace();
    EngineAction cancel();
    // The code as the user sees it: each key's root label, or the key itself.
    std::string readingDisplay() const;

    const CinTable* table;
    std::string code;
    std::vector<std::string> candidates;
};

}  // namespace cqinput
