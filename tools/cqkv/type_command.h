// SPDX-License-Identifier: MIT
// `cqkv type`: runs a key sequence through an input engine and shows what each key did.
#pragma once

#include <ostream>
#include <string>

#include "engine/input_engine.h"
#include "tools/cqkv/command_line.h"
#include "tools/cqkv/engine_steps.h"

namespace kv {

// For people: "OP: KIND TEXT", and after ShowCandidates one "  INDEX CANDIDATE" line per
// candidate, INDEX being the row click:N chooses.
std::string formatStepText(const EngineStep& step, const cqinput::EngineAction& action,
                           const cqinput::InputEngine& engine);

// For scripts: one JSON object with "op", "kind", "text", the engine's "code" and its
// "candidates" after the operation (empty unless candidates are shown).
std::string formatStepJson(const EngineStep& step, const cqinput::EngineAction& action,
                           const cqinput::InputEngine& engine);

// The words of KEYS are joined by blanks, read in the session notation and run in order. Returns 0,
// 1 when the table or user dictionary cannot be loaded, or 2 for a missing or malformed key
// sequence or a token the engine alone cannot take.
int runType(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace kv
