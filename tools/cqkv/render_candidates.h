// SPDX-License-Identifier: MIT
// `cqkv render candidates`: paints the candidate panel into a PNG, as the input method shows it.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace kv {

// `args` are the words after "render": "candidates" and its options, or "--help". The other
// panels have their own commands; any other word is a usage error. Returns the exit status: 0,
// 1 when the PNG cannot be written, 2 for a usage error.
int runRender(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

// `args` are the words after "render candidates":
//   [--set KEY=VALUE]... [--selected N] [--toolbar-only] [--scale S] --out FILE.png CANDIDATE...
// Each --set stores VALUE under KEY (an integer when it reads as one, else a string) in an
// otherwise empty settings store. At scale 1 one point is one pixel and the image is exactly the
// panel's frame.
int runRenderCandidates(std::span<const std::string_view> args, std::ostream& out,
                        std::ostream& err);

std::string_view renderUsage();

}  // namespace kv
