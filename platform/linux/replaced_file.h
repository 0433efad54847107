// SPDX-License-Identifier: MIT
// A file in the user's folders that a program reads while it may be rewritten: replaced whole
// by a rename, so a reader sees the old bytes or the new ones, never half of them, and never
// written through whatever sat at the name (a link to another file, a FIFO).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace kv {

// Whether `file` is a regular file, not a link, holding exactly `bytes` (at most `limit`). A
// FIFO or a device there is never opened.
bool HoldsExactly(const std::filesystem::path& file, std::string_view bytes,
                  std::uint64_t limit = std::uint64_t{1} << 20);

// Writes `bytes` (mode 0644) beside `file` and renames it into place, making missing folders
// private (0700). 0, or the errno value of the step that failed; nothing is left behind then.
int ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes);

}  // namespace kv
