// SPDX-License-Identifier: MIT
#include "tools/cqkv/render_keyboard.h"

#include <charconv>
#include <cstdint>
#include <memory>

#include "keyboard/keyboard_view.h"
#include "platform/linux/cairo_image_canvas.h"
#include "tools/cqkv/option_reader.h"
#include "tools/cqkv/option_values.h"
#include "tools/cqkv/render_services.h"

namespace kv {

namespace {

constexpr std::string_view kUsage =
    R"text(Usage: cqkv render keyboard [--set KEY=VALUE]... [--size WxH] --out FILE.png

Paints the on-screen keyboard as it would show into a PNG, one point one pixel.

  --set KEY=VALUE   store VALUE under KEY: an integer when it reads as one, else a string, in
                    an otherwise empty settings store; may be repeated. The keyboard reads
                    ThemeBackground, ThemeBorder and ThemeMuted as packed 0xRRGGBB colours
                    written in decimal (e.g. --set ThemeBackground=16777215 for white)
  --size WxH        the panel's size in points (default 720x350; at least 520x290, the
                    smallest the panel can be made, and at most 4096x4096)
  --out FILE.png    the picture to write (replaced whole)
)text";

constexpr Size kMinimumSize{520, 290};
constexpr double kLargestSide = 4096;

// "WxH" in whole points, within the sizes the panel can be made.
bool TakeSize(std::string_view text, Size& size, std::string& error) {
    const std::optional<Size> whole = WholeSize(text);
    if (!whole) {
        error = "--size needs WIDTHxHEIGHT in points, such as 720x350, not \"" + std::string(text) +
                "\"";
        return false;
    }
    if (whole->width < kMinimumSize.width || whole->height < kMinimumSize.height ||
        whole->width > kLargestSide || whole->height > kLargestSide) {
        error = "--size " + std::string(text) +
                " is outside the panel's sizes (from 520x290 up to 4096x4096)";
        return false;
    }
    size = *whole;
    return true;
}

}  // namespace

std::optional<RenderKeyboardOptions> parseRenderKeyboardOptions(
    std::span<const std::string_view> args, std::string& error) {
    RenderKeyboardOptions options;
    bool sizeGiven = false;
    OptionReader reader(args);
    while (const std::optional<OptionWord> word = reader.next()) {
        const std::string_view name = word->name;
        if (word->isHelp()) {
            options.help = true;
            continue;
        }
        if (name != "--set" && name != "--size" && name != "--out") {
            error = "unknown option or argument \"" + std::string(word->text) + "\"";
            return std::nullopt;
        }
        const std::optional<std::string_view> value = reader.value();
        if (!value) {
            error = "the option " + std::string(name) + " needs a value";
            return std::nullopt;
        }
        if ((name == "--size" && sizeGiven) || (name == "--out" && !options.out.empty())) {
            error = "the option " + std::string(name) + " is given twice";
            return std::nullopt;
        }
        if (name == "--set" && !StoreSetting(*value, options.settings, error)) {
            return std::nullopt;
        }
        if (name == "--size" && !TakeSize(*value, options.size, error)) {
            return std::nullopt;
        }
        sizeGiven = sizeGiven || name == "--size";
        if (name == "--out") {
            options.out = std::string(*value);
        }
    }
    if (!options.help && options.out.empty()) {
        error = "--out FILE.png is required";
        return std::nullopt;
    }
    return options;
}

bool renderKeyboard(const RenderKeyboardOptions& options, std::string& error) {
    const RenderServices services;
    services.defaults().values = options.settings.values;

    const KVKeyboardView view(Rect({0, 0}, options.size));
    CairoImageCanvas canvas(options.size, 1.0);
    view.draw(canvas, view.bounds());
    if (!canvas.writePNG(options.out.string())) {
        error = "cannot write " + options.out.string();
        return false;
    }
    return true;
}

int runRenderKeyboard(std::span<const std::string_view> args, std::ostream& out,
                      std::ostream& err) {
    std::string error;
    const std::optional<RenderKeyboardOptions> options = parseRenderKeyboardOptions(args, error);
    if (!options) {
        err << "cqkv render keyboard: " << error << " (see cqkv render keyboard --help)\n";
        return 2;
    }
    if (options->help) {
        out << kUsage;
        return 0;
    }
    if (!renderKeyboard(*options, error)) {
        err << "cqkv render keyboard: " << error << '\n';
        return 1;
    }
    return 0;
}

std::string_view renderKeyboardUsage() {
    return kUsage;
}

}  // namespace kv
