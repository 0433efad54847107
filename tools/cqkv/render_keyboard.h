// SPDX-License-Identifier: MIT
// `cqkv render keyboard`: paints the on-screen keyboard into a PNG, one point one pixel, through
// the view's own painting code with Pango text and settings given on the command line.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "platform/geometry.h"
#include "platform/memory/memory_user_defaults.h"

namespace kv {

struct RenderKeyboardOptions {
    MemoryUserDefaults settings;  // otherwise empty: every colour takes its fallback
    Size size{720, 350};
    std::filesystem::path out;
    bool help = false;
};

// Parses the words after "render keyboard". Nothing, with `error` set, for an unknown option, a
// missing value or --out, a malformed --set or a size outside what the panel allows.
std::optional<RenderKeyboardOptions> parseRenderKeyboardOptions(
    std::span<const std::string_view> args, std::string& error);

// Paints the keyboard at `options.size` with `options.settings` into `options.out`. False, with
// `error` set, when the file cannot be written.
bool renderKeyboard(const RenderKeyboardOptions& options, std::string& error);

// The subcommand: 0 written, 1 the file could not be written, 2 a usage error.
int runRenderKeyboard(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

std::string_view renderKeyboardUsage();

}  // namespace kv
