// SPDX-License-Identifier: MIT
#include "tools/cqkv/render_candidates.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "candidates/candidate_window.h"
#include "platform/linux/cairo_image_canvas.h"
#include "platform/memory/memory_user_defaults.h"
#include "settings/settings_table.h"
#include "tools/cqkv/option_reader.h"
#include "tools/cqkv/option_values.h"
#include "tools/cqkv/render_services.h"

namespace kv {

namespace {

constexpr std::string_view kUsage =
    R"text(Usage: cqkv render candidates [--set KEY=VALUE]... [--selected N] [--toolbar-only]
                                [--scale S] --out FILE.png CANDIDATE...

Paints the candidate panel as the input method would show CANDIDATE... (ten to a page, the
page of the selected one), or the toolbar alone, into a PNG with a transparent outside.
Settings come from an otherwise empty store, so every absent key takes its usual fallback.

  --set KEY=VALUE   store VALUE under KEY: an integer when it reads as one, else a string
                    (e.g. --set ThemePreset=9 --set CandidateFontSize=28); may be repeated
  --selected N      the selected candidate, counted from 0 (default 0; clamped into the list)
  --toolbar-only    the toolbar without candidate rows
  --scale S         pixels per point, more than 0 and at most 10 (default 1: the image is
                    exactly the panel's frame)
  --out FILE.png    the image to write
)text";

constexpr double kMaximumScale = 10;
constexpr Rect kAnchor{200, 600, 1, 18};

struct RenderOptions {
    std::vector<std::pair<std::string, DefaultsValue>> settings;
    std::int64_t selected = 0;
    bool toolbarOnly = false;
    double scale = 1;
    std::optional<std::string> out;
    std::vector<std::string> candidates;
    bool help = false;
};

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Applies one option with its value; false with `error` when the value is unusable.
bool TakeValue(std::string_view name, std::string_view value, RenderOptions& options,
               std::string& error) {
    if (name == "--set") {
        auto setting = SettingAssignment(value);
        if (!setting) {
            error = "--set wants KEY=VALUE, not \"" + std::string(value) + "\"";
            return false;
        }
        options.settings.push_back(std::move(*setting));
    } else if (name == "--selected") {
        const auto selected = ParseNumber<std::int64_t>(value);
        if (!selected) {
            error = "--selected wants a whole number, not \"" + std::string(value) + "\"";
            return false;
        }
        options.selected = *selected;
    } else if (name == "--scale") {
        const auto scale = ParseNumber<double>(value);
        if (!scale || !(*scale > 0 && *scale <= kMaximumScale)) {
            error =
                "--scale wants a number above 0 and at most 10, not \"" + std::string(value) + "\"";
            return false;
        }
        options.scale = *scale;
    } else {
        options.out = std::string(value);
    }
    return true;
}

bool TakesValue(std::string_view name) {
    return name == "--set" || name == "--selected" || name == "--scale" || name == "--out";
}

// Takes one option (and maybe its value, the next word); false with `error` on misuse.
bool TakeOption(const OptionWord& word, OptionReader& reader, RenderOptions& options,
                std::string& error) {
    if (!word.inlineValue && word.isHelp()) {
        options.help = true;
        return true;
    }
    if (!word.inlineValue && word.name == "--toolbar-only") {
        options.toolbarOnly = true;
        return true;
    }
    if (!TakesValue(word.name)) {
        error = "unknown option \"" + std::string(word.text) + "\"";
        return false;
    }
    const std::optional<std::string_view> value = reader.value();
    if (!value) {
        error = "the option " + std::string(word.name) + " needs a value";
        return false;
    }
    return TakeValue(word.name, *value, options, error);
}

std::optional<RenderOptions> ParseOptions(std::span<const std::string_view> args,
                                          std::string& error) {
    RenderOptions options;
    OptionReader reader(args);
    while (const std::optional<OptionWord> word = reader.next()) {
        if (word->isOperand()) {
            options.candidates.emplace_back(word->text);
        } else if (!TakeOption(*word, reader, options, error)) {
            return std::nullopt;
        }
    }
    if (!options.help && !options.out) {
        error = "--out FILE.png is required";
        return std::nullopt;
    }
    return options;
}

int Render(RenderOptions options, std::ostream& err) {
    const RenderServices services;
    for (const auto& [key, value] : options.settings) {
        services.defaults().setObject(key, value);
    }
    // The script, width and selection keys the controller would pass with these settings.
    const ControllerSettings controller = KVReadControllerSettings(standardUserDefaults());
    KVCandidateWindow window;
    if (options.toolbarOnly) {
        window.showToolbarAtAnchorRect(kAnchor, controller.simplifiedOutput,
                                       controller.fullwidthMode, false);
    } else {
        window.showCandidates(std::move(options.candidates),
                              SelectionKeys(controller.letterSelection), options.selected,
                              controller.simplifiedOutput, controller.fullwidthMode, kAnchor, "");
    }
    const Panel& panel = window.panel();
    const Rect bounds({0, 0}, panel.frame().size);
    CairoImageCanvas canvas(bounds.size, options.scale);
    panel.content->draw(canvas, bounds);
    if (!canvas.writePNG(*options.out)) {
        err << "cqkv render candidates: cannot write \"" << *options.out << "\"\n";
        return 1;
    }
    return 0;
}

}  // namespace

std::string_view renderUsage() {
    return kUsage;
}

int runRender(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && args.front() == "candidates") {
        return runRenderCandidates(args.subspan(1), out, err);
    }
    if (!args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        out << "Usage: cqkv render candidates|keyboard|preferences|words [OPTIONS]\n\n" << kUsage;
        return 0;
    }
    err << "cqkv render: name what to render: candidates, keyboard, preferences or words (see "
           "cqkv render --help)\n";
    return 2;
}

int runRenderCandidates(std::span<const std::string_view> args, std::ostream& out,
                        std::ostream& err) {
    std::string error;
    std::optional<RenderOptions> options = ParseOptions(args, error);
    if (!options) {
        err << "cqkv render candidates: " << error << " (see cqkv render candidates --help)\n";
        return 2;
    }
    if (options->help) {
        out << kUsage;
        return 0;
    }
    return Render(std::move(*options), err);
}

}  // namespace kv
