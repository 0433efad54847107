// SPDX-License-Identifier: MIT
// Where the client's text is on screen, for placing the candidate window and the toolbar.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/geometry.h"
#include "platform/text_client.h"

namespace kv {

// The line-height rectangle of character `index` of the client's text in screen coordinates.
// Falls back to the character at 0, then to the first rectangle of the empty range at 0; a
// client that fails while answering leaves the rectangle as it was at that moment (16 x 16 at
// the origin before any answer).
Rect CandidateAnchorRect(TextClient* client, std::int64_t index);

// The same anchor, but only where the client has told where its text is: nothing when it
// answered neither question, so that a window waits for the caret rather than taking the
// fallback at the screen's corner for it.
std::optional<Rect> KVKnownAnchorRect(TextClient* client, std::int64_t index);

}  // namespace kv
