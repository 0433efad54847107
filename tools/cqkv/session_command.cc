// SPDX-License-Identifier: MIT
#include "tools/cqkv/session_command.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "controller/shared_table.h"
#include "settings/settings_keys.h"
#include "testing/session_runner.h"
#include "testing/session_script.h"
#include "tools/cqkv/option_reader.h"
#include "tools/cqkv/option_values.h"
#include "tools/cqkv/resource_paths.h"
#include "tools/cqkv/session_report.h"

namespace kv {

namespace {

constexpr std::string_view kUsage =
    R"text(Usage: cqkv session [--table FILE] [--user FILE] [--set KEY=VALUE]... SCRIPT...

Runs the input controller on a recording client, with the candidate window and the on-screen
keyboard, and prints one JSON object per token of SCRIPT (words are joined with blanks):
  a ... z  0 ... 9  ; , . / ' [ ] - = ` \  (and their shifted symbols, e.g. !)
  Space Return Escape Delete Tab Left Right Up Down PageUp PageDown KP_0 ... KP_9 KP_Enter
                 a key press of the US layout; prefix Shift+, Ctrl+, Alt+ or Cmd+ to hold them
  Shift          a lone Shift press and release      CapsLock   one Caps Lock press
  osk:KEY        a click on the on-screen keyboard (a key, __space__ or __backspace__);
                 only while the keyboard is shown
  click:N        a click on row N (0 to 9) of the candidate window
  button:NAME    a toolbar button: script, width, settings, words or keyboard
  wait:SECONDS   the clock moves on (the toolbar's end-of-typing step runs after 0.9 s)
  activate  deactivate  app-switch  settings-saved  words-changed
  session:N      later tokens go to session N, made and activated on first use (first: 1)
Fields: token, handled (null for tokens that are no key events), marked, inserted, beeps,
panel {visible, mode, items, selected, pageStart, page, follow}, keyboard {visible,
requested}, windows (settings, words: shown during the token), settings (keys written).

  --table FILE       the CIN table (default: the shipped CQInput-KV.cin)
  --user FILE        a user dictionary, copied to where the input method reads it
  --set KEY=VALUE    a stored setting before the start: true/false, an integer, or a string
Exit status: 0, or 2 for a usage error (an unknown option, setting key or token).
)text";

constexpr std::array<std::string_view, 15> kSettingKeys = {
    SettingsKey::ToggleKey,       SettingsKey::PersistentToolbar, SettingsKey::ToolbarFollowMode,
    SettingsKey::LetterSelection, SettingsKey::SimplifiedOutput,  SettingsKey::FullwidthMode,
    SettingsKey::ThemePreset,     SettingsKey::ThemeBackground,   SettingsKey::ThemeText,
    SettingsKey::ThemeMuted,      SettingsKey::ThemeSelection,    SettingsKey::ThemeSelectedText,
    SettingsKey::ThemeBorder,     SettingsKey::CandidateFontSize, SettingsKey::CandidatePanel,
};

struct SessionArguments {
    SessionOptions options;
    std::optional<std::string> table;
    std::string script;
    bool help = false;
};

// Booleans too, since a session replays the settings the controller reads as booleans.
DefaultsValue SessionSettingValue(std::string_view text) {
    if (text == "true" || text == "YES") {
        return true;
    }
    if (text == "false" || text == "NO") {
        return false;
    }
    return SettingValue(text);
}

bool AddSetting(std::string_view assignment, SessionOptions& options, std::string& error) {
    const std::size_t equals = assignment.find('=');
    const std::string_view key = assignment.substr(0, equals);
    if (equals == std::string_view::npos ||
        std::find(kSettingKeys.begin(), kSettingKeys.end(), key) == kSettingKeys.end()) {
        error =
            "--set wants KEY=VALUE with a settings key, not \"" + std::string(assignment) + "\"";
        return false;
    }
    options.settings.emplace_back(std::string(key),
                                  SessionSettingValue(assignment.substr(equals + 1)));
    return true;
}

// Reads one option and its value into `parsed`.
bool TakeOption(const OptionWord& word, OptionReader& reader, SessionArguments& parsed,
                std::string& error) {
    if (word.isHelp() && !word.inlineValue) {
        parsed.help = true;
        return true;
    }
    const std::string_view name = word.name;
    if (name != "--table" && name != "--user" && name != "--set") {
        error = "unknown option \"" + std::string(word.text) + "\"";
        return false;
    }
    const std::optional<std::string_view> value = reader.value();
    if (!value) {
        error = "option " + std::string(name) + " needs a value";
        return false;
    }
    if (name == "--table") {
        parsed.table = std::string(*value);
    } else if (name == "--user") {
        parsed.options.user = std::filesystem::path(*value);
    } else {
        return AddSetting(*value, parsed.options, error);
    }
    return true;
}

std::optional<SessionArguments> ParseArguments(std::span<const std::string_view> args,
                                               std::string& error) {
    SessionArguments parsed;
    OptionReader reader(args);
    while (const std::optional<OptionWord> word = reader.next()) {
        if (word->isOperand()) {
            parsed.script += (parsed.script.empty() ? "" : " ") + std::string(word->text);
        } else if (!TakeOption(*word, reader, parsed, error)) {
            return std::nullopt;
        }
    }
    return parsed;
}

}  // namespace

std::string_view sessionUsage() {
    return kUsage;
}

int runSession(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    std::string error;
    std::optional<SessionArguments> arguments = ParseArguments(args, error);
    if (!arguments) {
        err << "cqkv session: " << error << " (see cqkv session --help)\n";
        return 2;
    }
    if (arguments->help) {
        out << kUsage;
        return 0;
    }
    std::string badToken;
    const std::optional<std::vector<SessionStep>> steps =
        parseSessionScript(arguments->script, badToken);
    if (!steps) {
        err << "cqkv session: unknown token \"" << badToken << "\" (see cqkv session --help)\n";
        return 2;
    }
    if (steps->empty()) {
        err << "cqkv session: no script given (see cqkv session --help)\n";
        return 2;
    }
    arguments->options.table =
        arguments->table ? std::filesystem::path(*arguments->table) : defaultTablePath();
    SessionRunner runner(arguments->options);
    for (const SessionStep& step : *steps) {
        out << stepReportJson(runner.run(step)) << '\n';
    }
    // A table that does not load is a scenario of its own, but worth a word.
    if (!KVLoadedSharedTable()) {
        err << "cqkv session: the table " << arguments->options.table.string()
            << " could not be loaded; every key went to the application\n";
    }
    return 0;
}

}  // namespace kv
