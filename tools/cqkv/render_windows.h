// SPDX-License-Identifier: MIT
// `cqkv render preferences|words`: shows the real GTK window on the current display, with
// settings given on the command line, and writes its content area to a PNG, one point one pixel.
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

enum class RenderedWindow { Preferences, Words };

struct RenderWindowOptions {
    RenderedWindow window = RenderedWindow::Preferences;
    MemoryUserDefaults settings;  // otherwise empty: every control shows its fallback
    std::filesystem::path user;   // words: a user dictionary to list (none: an empty one)
    std::optional<Size> size;     // words: the content size after a resize by the user
    std::filesystem::path out;
    bool help = false;
};

// Parses the words after "render preferences" or "render words". Nothing, with `error` set, for
// an unknown option, a missing value or --out, a malformed --set, or an option the window lacks.
std::optional<RenderWindowOptions> parseRenderWindowOptions(RenderedWindow window,
                                                            std::span<const std::string_view> args,
                                                            std::string& error);

// Shows the window and writes its picture. False, with `error` set, when there is no display,
// the dictionary cannot be read, or the picture cannot be taken or written.
bool renderWindow(const RenderWindowOptions& options, std::string& error);

// The subcommand, `args` starting after the window's name: 0 written, 1 failed, 2 a usage error.
int runRenderWindow(RenderedWindow window, std::span<const std::string_view> args,
                    std::ostream& out, std::ostream& err);

std::string_view renderWindowUsage(RenderedWindow window);

}  // namespace kv
