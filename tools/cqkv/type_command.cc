// SPDX-License-Identifier: MIT
#include "tools/cqkv/type_command.h"

#include <vector>

#include "engine/cin_table.h"
#include "tools/cqkv/json_text.h"
#include "tools/cqkv/table_loading.h"

namespace kv {

namespace {

// The steps of `script`, or false after a usage message on `err`.
bool ReadEngineSteps(std::string_view script, std::vector<EngineStep>& steps, std::ostream& err) {
    std::string badToken;
    const std::optional<std::vector<SessionStep>> sessionSteps =
        parseSessionScript(script, badToken);
    if (!sessionSteps) {
        err << "cqkv type: unknown token \"" << badToken << "\" (see cqkv type --help)\n";
        return false;
    }
    for (const SessionStep& sessionStep : *sessionSteps) {
        std::optional<EngineStep> step = engineStep(sessionStep);
        if (!step) {
            err << "cqkv type: \"" << sessionStep.token
                << "\" needs the input method around the engine; use cqkv session\n";
            return false;
        }
        steps.push_back(std::move(*step));
    }
    return true;
}

}  // namespace

std::string formatStepText(const EngineStep& step, const cqinput::EngineAction& action,
                           const cqinput::InputEngine& engine) {
    std::string line = step.token + ": " + std::string(actionKindName(action.kind));
    if (!action.text.empty()) {
        line += ' ' + action.text;
    }
    line += '\n';
    if (action.kind == cqinput::ActionKind::ShowCandidates) {
        for (std::size_t i = 0; i < engine.candidates.size(); ++i) {
            line += "  " + std::to_string(i) + ' ' + engine.candidates[i] + '\n';
        }
    }
    return line;
}

std::string formatStepJson(const EngineStep& step, const cqinput::EngineAction& action,
                           const cqinput::InputEngine& engine) {
    std::string line = "{\"op\":" + jsonString(step.token) +
                       ",\"kind\":" + jsonString(actionKindName(action.kind)) +
                       ",\"text\":" + jsonString(action.text) +
                       ",\"code\":" + jsonString(engine.code) + ",\"candidates\":[";
    for (std::size_t i = 0; i < engine.candidates.size(); ++i) {
        line += (i == 0 ? "" : ",") + jsonString(engine.candidates[i]);
    }
    line += "]}\n";
    return line;
}

int runType(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.positional.empty()) {
        err << "cqkv type: no keys given (see cqkv type --help)\n";
        return 2;
    }
    std::string script;
    for (const std::string& word : arguments.positional) {
        script += (script.empty() ? "" : " ") + word;
    }
    std::vector<EngineStep> steps;
    if (!ReadEngineSteps(script, steps, err)) {
        return 2;
    }
    cqinput::CinTable table;
    if (!loadForCommand(table, arguments.table, arguments.user, "cqkv type", err)) {
        return 1;
    }
    cqinput::InputEngine engine(table);
    for (const EngineStep& step : steps) {
        const cqinput::EngineAction action = applyEngineStep(engine, step);
        out << (arguments.json ? formatStepJson(step, action, engine)
                               : formatStepText(step, action, engine));
    }
    return 0;
}

}  // namespace kv
