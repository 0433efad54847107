// SPDX-License-Identifier: MIT
#include "controller/candidate_anchor.h"

namespace kv {

Rect CandidateAnchorRect(TextClient* client, std::int64_t index) {
    Rect rect(0, 0, 16, 16);
    if (client == nullptr) {
        return rect;
    }
    std::optional<CharacterAttributes> attributes =
        client->attributesForCharacterIndex(index, rect);
    if (!attributes) {
        return rect;
    }
    if (*attributes == CharacterAttributes::MissingOrEmpty) {
        // Some clients only answer for the first character; the answer itself is not needed.
        if (!client->attributesForCharacterIndex(0, rect)) {
            return rect;
        }
    }
    if (rect.width() > 0 && rect.height() > 0) {
        return rect;
    }
    const std::optional<Rect> first = client->firstRectForCharacterRange(Range{0, 0});
    return first ? *first : rect;
}

std::optional<Rect> KVKnownAnchorRect(TextClient* client, std::int64_t index) {
    if (client == nullptr) {
        return std::nullopt;
    }
    Rect probe(0, 0, 16, 16);
    if (client->attributesForCharacterIndex(index, probe)) {
        return CandidateAnchorRect(client, index);
    }
    return client->firstRectForCharacterRange(Range{0, 0});
}

}  // namespace kv
