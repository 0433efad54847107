// SPDX-License-Identifier: MIT
// JSON string literals for the tool's line-per-object output.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// `text` as a quoted JSON string. Well-formed UTF-8 is kept as it is; quote, backslash, control
// characters and DEL are escaped; a byte that is not part of well-formed UTF-8 becomes U+FFFD,
// so the output is always valid JSON.
std::string jsonString(std::string_view text);

}  // namespace kv
