// SPDX-License-Identifier: MIT
// fcitx5's addon and input method descriptions are INI-like text: `[Section]` headers, `Key=Value`
// lines, `#` comments. Registering a bundle names its files there by absolute path, so the one
// value is rewritten and every other byte stays as the bundle wrote it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// `text` with `key` of `[section]` set to `value`: one line right under the section's first
// header, every other line of that key in the section dropped (fcitx5 would read the last one).
// Nothing when `text` has no such section or holds a NUL byte, or when `value` holds a line break
// or a NUL byte (it would add lines of its own), or begins or ends with white space or a quote
// (fcitx5 would trim or unquote it).
std::optional<std::string> WithFcitxValue(std::string_view text, std::string_view section,
                                          std::string_view key, std::string_view value);

}  // namespace kv
