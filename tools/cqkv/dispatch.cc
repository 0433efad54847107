// SPDX-License-Identifier: MIT
#include "tools/cqkv/dispatch.h"

#include <array>
#include <string>

#include "tools/cqkv/check_command.h"
#include "tools/cqkv/codes_command.h"
#include "tools/cqkv/command_line.h"
#include "tools/cqkv/import_command.h"
#include "tools/cqkv/lookup_command.h"
#include "tools/cqkv/render_candidates.h"
#include "tools/cqkv/render_keyboard.h"
#include "tools/cqkv/render_windows.h"
#include "tools/cqkv/session_command.h"
#include "tools/cqkv/type_command.h"
#include "tools/cqkv/usage.h"

namespace kv {

namespace {

struct Command {
    std::string_view name;
    std::uint32_t options;
    int (*run)(const Arguments&, std::ostream&, std::ostream&);
};

constexpr std::array<Command, 5> kCommands{{
    {"lookup", kOptionTable | kOptionUser, runLookup},
    {"codes", kOptionTable, runCodes},
    {"type", kOptionTable | kOptionUser | kOptionJson, runType},
    {"check", kOptionTable, runCheck},
    {"import", kOptionDict | kOptionSchema | kOptionOut, runImport},
}};

int Help(std::span<const std::string_view> topics, std::ostream& out, std::ostream& err) {
    if (topics.empty()) {
        out << generalUsage();
        return 0;
    }
    const std::string_view usage = commandUsage(topics.front());
    if (usage.empty()) {
        err << "cqkv help: unknown command \"" << topics.front() << "\"\n";
        return 2;
    }
    out << usage;
    return 0;
}

}  // namespace

int dispatchCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args.front() == "--help" || args.front() == "-h") {
        out << generalUsage();
        return 0;
    }
    if (args.front() == "help") {
        return Help(args.subspan(1), out, err);
    }
    if (args.size() >= 2 && args[0] == "render" && args[1] == "keyboard") {
        return runRenderKeyboard(args.subspan(2), out, err);
    }
    if (args.size() >= 2 && args[0] == "render" &&
        (args[1] == "preferences" || args[1] == "words")) {
        return runRenderWindow(
            args[1] == "words" ? RenderedWindow::Words : RenderedWindow::Preferences,
            args.subspan(2), out, err);
    }
    if (args.front() == "render") {
        return runRender(args.subspan(1), out, err);
    }
    if (args.front() == "session") {
        return runSession(args.subspan(1), out, err);
    }
    for (const Command& command : kCommands) {
        if (command.name != args.front()) {
            continue;
        }
        std::string error;
        const std::optional<Arguments> arguments =
            parseArguments(args.subspan(1), command.options, error);
        if (!arguments) {
            err << "cqkv " << command.name << ": " << error << " (see cqkv " << command.name
                << " --help)\n";
            return 2;
        }
        if (arguments->help) {
            out << commandUsage(command.name);
            return 0;
        }
        return command.run(*arguments, out, err);
    }
    err << "cqkv: unknown command \"" << args.front() << "\" (see cqkv --help)\n";
    return 2;
}

}  // namespace kv
