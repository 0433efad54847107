// SPDX-License-Identifier: MIT
#include "hosts/linux/ibus_text_client.h"

#include <algorithm>

#include "controller/caret_rules.h"
#include "platform/linux/gdk_screens.h"
#include "platform/transforms.h"

namespace kv {

IBusTextClient::IBusTextClient(std::shared_ptr<const IBusEngineLink> link, std::string path)
    : _link(std::move(link)), _path(std::move(path)) {}

bool IBusTextClient::setCursorLocation(const Rect& reported) {
    const double scale = _reportScale;
    const std::optional<Rect> caret =
        KVCaretFromReport(Rect(reported.minX() / scale, reported.minY() / scale,
                               reported.width() / scale, reported.height() / scale));
    const bool changed = caret != _cursor;
    _cursor = caret;
    return changed;
}

void IBusTextClient::setSurroundingText(std::string_view utf8, std::uint32_t cursor,
                                        std::uint32_t anchor) {
    // A client that does not know its own text gets a deletion as a key.
    _surrounding = SurroundingText::fromCodePoints(utf8, cursor, anchor);
}

void IBusTextClient::setMarkedText(std::u16string_view text, Underline underline,
                                   Range selectionRange, Range) {
    _marked = text;
    IBusEngine* const engine = attachedEngine();
    if (engine == nullptr) {
        return;
    }
    const std::string utf8 = Transforms::utf16ToUtf8(text);
    IBusText* const preedit = ibus_text_new_from_string(utf8.c_str());
    const glong length = g_utf8_strlen(utf8.c_str(), -1);
    if (underline == Underline::Single && length > 0) {
        ibus_text_append_attribute(preedit, IBUS_ATTR_TYPE_UNDERLINE, IBUS_ATTR_UNDERLINE_SINGLE, 0,
                                   static_cast<guint>(length));
    }
    const glong caret = selectionRange.location == NotFound
                            ? length
                            : Transforms::codePointsInUtf16(text, selectionRange.location);
    // Clear mode: a context that loses focus drops the preedit; the controller alone commits.
    ibus_engine_update_preedit_text_with_mode(engine, preedit, static_cast<guint>(caret),
                                              length > 0, IBUS_ENGINE_PREEDIT_CLEAR);
}

void IBusTextClient::insertText(std::u16string_view text, Range replacementRange) {
    IBusEngine* const engine = attachedEngine();
    if (engine == nullptr) {
        return;
    }
    if (replacementRange.location != NotFound && _surrounding) {
        deleteSurrounding(engine, replacementRange);
    }
    if (!text.empty()) {
        ibus_engine_commit_text(engine,
                                ibus_text_new_from_string(Transforms::utf16ToUtf8(text).c_str()));
    }
}

void IBusTextClient::deleteSurrounding(IBusEngine* engine, Range range) {
    // Until the client reports again, the text is what the deletion left.
    if (const std::optional<SurroundingText::Deletion> deletion = _surrounding->erase(range)) {
        ibus_engine_delete_surrounding_text(engine, static_cast<gint>(deletion->offset),
                                            static_cast<guint>(deletion->count));
    }
}

Rect IBusTextClient::screenCursor() const {
    return FlipRootRect(*_cursor, RootHeight());
}

std::optional<CharacterAttributes> IBusTextClient::attributesForCharacterIndex(
    std::int64_t, Rect& lineHeightRectangle) {
    if (!_cursor) {
        return std::nullopt;
    }
    lineHeightRectangle = screenCursor();
    return CharacterAttributes::Present;
}

std::optional<Rect> IBusTextClient::firstRectForCharacterRange(Range) {
    if (!_cursor) {
        return std::nullopt;
    }
    return screenCursor();
}

std::optional<Range> IBusTextClient::selectedRange() {
    return _surrounding ? std::optional<Range>(_surrounding->selectedRange()) : std::nullopt;
}

std::optional<std::u16string> IBusTextClient::attributedSubstringFromRange(Range range) {
    return _surrounding ? _surrounding->substring(range) : std::nullopt;
}

}  // namespace kv
