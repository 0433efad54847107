// SPDX-License-Identifier: MIT
#include "tools/cqkv/type_command.h"

#include <vector>

#include "engine/cin_table.h"
#include "tools/cqkv/json_text.h"
#include "tools/cqkv/table_loading.h"

namespace kv {

std::string formatStepText(const KeyOp& op, const cqinput::EngineAction& action,
                           const cqinput::InputEngine& engine) {
    std::string line = op.text + ": " + std::string(actionKindName(action.kind));
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

std::string formatStepJson(const KeyOp& op, const cqinput::EngineAction& action,
                           const cqinput::InputEngine& engine) {
    std::string line = "{\"op\":" + jsonString(op.text) +
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
    std::vector<KeyOp> ops;
    if (std::optional<KeyScriptError> error = parseKeyScript(script, ops)) {
        err << "cqkv type: " << error->message << '\n';
        return 2;
    }
    cqinput::CinTable table;
    if (!loadForCommand(table, arguments.table, arguments.user, "cqkv type", err)) {
        return 1;
    }
    cqinput::InputEngine engine(table);
    for (const KeyOp& op : ops) {
        const cqinput::EngineAction action = applyKeyOp(engine, op);
        out << (arguments.json ? formatStepJson(op, action, engine)
                               : formatStepText(op, action, engine));
    }
    return 0;
}

}  // namespace kv
