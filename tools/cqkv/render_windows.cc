// SPDX-License-Identifier: MIT
#include "tools/cqkv/render_windows.h"

#include <charconv>
#include <cstdint>
#include <memory>
#include <type_traits>

#include "hosts/linux/gtk_windows.h"
#include "platform/memory/memory_services.h"
#include "platform/services.h"
#include "settings/preferences_window.h"
#include "tools/cqkv/option_reader.h"
#include "tools/cqkv/option_values.h"
#include "words/user_dictionary_url.h"
#include "words/words_window.h"

namespace kv {

namespace {

constexpr std::string_view kPreferencesUsage =
    R"text(Usage: cqkv render preferences [--set KEY=VALUE]... --out FILE.png

Shows the settings window on the current display, filled from the given settings, and writes
its content area to a PNG, one point one pixel. Without a display, run it under xvfb-run.

  --set KEY=VALUE   store VALUE under KEY: an integer when it reads as one, else a string, in
                    an otherwise empty settings store; may be repeated (e.g. --set ThemePreset=9
                    --set ToggleKey=Shift --set CandidateFontSize=28)
  --out FILE.png    the picture to write (replaced whole)
)text";

constexpr std::string_view kWordsUsage =
    R"text(Usage: cqkv render words [--user FILE] [--size WxH] --out FILE.png

Shows the words window on the current display, listing a copy of FILE in a scratch
application support directory (your own dictionary is never touched), and writes its content
area to a PNG, one point one pixel. Without a display, run it under xvfb-run.

  --user FILE       the user dictionary to list (default: an empty one)
  --size WxH        resize the window as a user would, to a content area of WxH points (at
                    least 620x460, at most 4096x4096)
  --out FILE.png    the picture to write (replaced whole)
)text";

constexpr Size kSmallestWords{620, 460};
constexpr double kLargestSide = 4096;

bool TakeSize(std::string_view text, std::optional<Size>& size, std::string& error) {
    const std::optional<Size> whole = WholeSize(text);
    if (!whole || whole->width < kSmallestWords.width || whole->height < kSmallestWords.height ||
        whole->width > kLargestSide || whole->height > kLargestSide) {
        error = "--size needs WIDTHxHEIGHT from 620x460 up to 4096x4096, not \"" +
                std::string(text) + "\"";
        return false;
    }
    size = *whole;
    return true;
}

bool TakeOption(std::string_view name, std::string_view value, RenderWindowOptions& options,
                std::string& error) {
    const bool given = (name == "--out" && !options.out.empty()) ||
                       (name == "--user" && !options.user.empty()) ||
                       (name == "--size" && options.size);
    if (given) {
        error = "the option " + std::string(name) + " is given twice";
        return false;
    }
    if (name == "--set") {
        return StoreSetting(value, options.settings, error);
    }
    if (name == "--size") {
        return TakeSize(value, options.size, error);
    }
    (name == "--out" ? options.out : options.user) = std::string(value);
    return true;
}

bool KnownOption(RenderedWindow window, std::string_view name) {
    if (window == RenderedWindow::Preferences) {
        return name == "--set" || name == "--out";
    }
    return name == "--user" || name == "--size" || name == "--out";
}

// Copies `user` into the scratch directory as the user dictionary.
bool PlaceDictionary(const std::filesystem::path& user, std::string& error) {
    const std::optional<std::filesystem::path> file = KVUserDictionaryURL();
    std::error_code failure;
    if (!file || !std::filesystem::copy_file(
                     user, *file, std::filesystem::copy_options::overwrite_existing, failure)) {
        error = "cannot read " + user.string();
        return false;
    }
    return true;
}

template <typename Window, typename Maker>
bool ShowAndWrite(const Maker& maker, const RenderWindowOptions& options, std::string& error) {
    Window window({maker, {}});
    window.showWindow();
    if constexpr (std::is_same_v<Window, KVWordsWindow>) {
        if (options.size) {
            KVResizeWindow(window.body(), *options.size);
        }
    }
    return KVWriteWindowPNG(window.body(), options.out, error);
}

}  // namespace

std::optional<RenderWindowOptions> parseRenderWindowOptions(RenderedWindow window,
                                                            std::span<const std::string_view> args,
                                                            std::string& error) {
    RenderWindowOptions options;
    options.window = window;
    OptionReader reader(args);
    while (const std::optional<OptionWord> word = reader.next()) {
        const std::string_view name = word->name;
        if (word->isHelp()) {
            options.help = true;
            continue;
        }
        if (!KnownOption(window, name)) {
            error = "unknown option or argument \"" + std::string(word->text) + "\"";
            return std::nullopt;
        }
        const std::optional<std::string_view> value = reader.value();
        if (!value) {
            error = "the option " + std::string(name) + " needs a value";
            return std::nullopt;
        }
        if (!TakeOption(name, *value, options, error)) {
            return std::nullopt;
        }
    }
    if (!options.help && options.out.empty()) {
        error = "--out FILE.png is required";
        return std::nullopt;
    }
    return options;
}

bool renderWindow(const RenderWindowOptions& options, std::string& error) {
    // The window reads its settings, lists its file and beeps through these, never the user's.
    const MemoryServices services;
    services.defaults().values = options.settings.values;
    if (!options.user.empty() && !PlaceDictionary(options.user, error)) {
        return false;
    }
    if (!KVStartGtkWindows()) {
        error = "no display to show the window on (run it under xvfb-run)";
        return false;
    }
    if (options.window == RenderedWindow::Preferences) {
        return ShowAndWrite<KVPreferencesWindow>(KVGtkPreferencesWindowMaker(), options, error);
    }
    return ShowAndWrite<KVWordsWindow>(KVGtkWordsWindowMaker(), options, error);
}

int runRenderWindow(RenderedWindow window, std::span<const std::string_view> args,
                    std::ostream& out, std::ostream& err) {
    const std::string_view name = window == RenderedWindow::Preferences ? "preferences" : "words";
    std::string error;
    const std::optional<RenderWindowOptions> options =
        parseRenderWindowOptions(window, args, error);
    if (!options) {
        err << "cqkv render " << name << ": " << error << " (see cqkv render " << name
            << " --help)\n";
        return 2;
    }
    if (options->help) {
        out << renderWindowUsage(window);
        return 0;
    }
    if (!renderWindow(*options, error)) {
        err << "cqkv render " << name << ": " << error << '\n';
        return 1;
    }
    return 0;
}

std::string_view renderWindowUsage(RenderedWindow window) {
    return window == RenderedWindow::Preferences ? kPreferencesUsage : kWordsUsage;
}

}  // namespace kv
