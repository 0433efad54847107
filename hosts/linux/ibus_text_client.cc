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
    Surrounding surrounding;
    surrounding.text = Transforms::utf8ToUtf16(utf8);
    // A cursor or anchor past the end says the client does not know its own text: deleting by
    // it could take the whole text, so it counts as no text, and a deletion goes out as a key.
    const auto length = static_cast<std::uint32_t>(Transforms::codePointsInUtf16(
        surrounding.text, static_cast<std::int64_t>(surrounding.text.size())));
    if (cursor > length || anchor > length) {
        _surrounding.reset();
        return;
    }
    surrounding.cursor = Transforms::utf16UnitsOfCodePoints(surrounding.text, cursor);
    surrounding.anchor = Transforms::utf16UnitsOfCodePoints(surrounding.text, anchor);
    _surrounding = std::move(surrounding);
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
    Surrounding& s = *_surrounding;
    const auto size = static_cast<std::int64_t>(s.text.size());
    const std::int64_t start = std::clamp<std::int64_t>(range.location, 0, size);
    const std::int64_t end = std::clamp<std::int64_t>(start + range.length, start, size);
    if (end == start) {
        return;
    }
    const glong offset = Transforms::codePointsInUtf16(s.text, start) -
                         Transforms::codePointsInUtf16(s.text, s.cursor);
    const glong count =
        Transforms::codePointsInUtf16(s.text, end) - Transforms::codePointsInUtf16(s.text, start);
    ibus_engine_delete_surrounding_text(engine, static_cast<gint>(offset),
                                        static_cast<guint>(count));
    // Until the client reports again, the text is what the deletion left.
    s.text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
    s.cursor = s.anchor = start;
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
    if (!_surrounding) {
        return std::nullopt;
    }
    const std::int64_t start = std::min(_surrounding->cursor, _surrounding->anchor);
    return Range{start, std::max(_surrounding->cursor, _surrounding->anchor) - start};
}

std::optional<std::u16string> IBusTextClient::attributedSubstringFromRange(Range range) {
    if (!_surrounding || range.location < 0 || range.length < 0 ||
        range.location > static_cast<std::int64_t>(_surrounding->text.size())) {
        return std::nullopt;
    }
    return _surrounding->text.substr(static_cast<std::size_t>(range.location),
                                     static_cast<std::size_t>(range.length));
}

}  // namespace kv
