// SPDX-License-Identifier: MIT
// `cqkv type`: runs a key sequence through an input engine and shows what each key did.
#pragma once

#include <ostream>
#include <string>

#include "engine/input_engine.h"
#include "tools/cqkv/command_line.h"
#include "tools/cqkv/key_script.h"

namespace kv {

// For people: "OP: KIND TEXT", and after ShowCandidates one "  INDEX CANDIDATE" line per
// candidate, INDEX being the number {choose N} takes.
std::string formatStepText(const KeyOp& op, const cqinput::EngineAction& action,
                           const cqinput::InputEngine& engine);

// For scripts: one JSON object with "op", "kind", "text", the engine's "code" and its
// "candidates" after the operation (empty unless candidates are shown).
std::string formatStepJson(const KeyOp& op, const cqinput::EngineAction& action,
                           const cqinput::InputEngine& engine);

// The words of KEYS are joined by blanks and run in order. Returns 0, 1 when the table or user
// dictionary cannot be loaded, or 2 for a missing or malformed key sequence.
int runType(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace kv
