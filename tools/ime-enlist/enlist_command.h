// SPDX-License-Identifier: MIT
// `ime-enlist <input-method.app> [--select]`: registers the input method bundle with the
// desktop's input sources, enables every source it provides and, on request, selects it.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "platform/input_sources.h"

namespace kv {

// The identifier that the input method's bundle declares; the only thing the tool shares with it.
inline constexpr std::string_view kInputMethodBundleIdentifier =
    "org.cqinputkv.inputmethod.CQInputKV";

// `arguments` are the command line's, without the program name. The one success line goes to
// `out`, diagnostics to `err`. Returns the exit status: 0 done, 2 usage, 3 registering failed,
// 4 enabling failed, 5 no source of the bundle listed, 6 asked to select but none could be, or
// another input source is current once the selection settled.
// Nothing done before a failure is undone.
int runImeEnlist(std::span<const std::string_view> arguments, InputSources& sources,
                 std::ostream& out, std::ostream& err);

}  // namespace kv
