// SPDX-License-Identifier: MIT
#include "hosts/linux/ibus_text_client.h"

#include <algorithm>

#include "platform/linux/gdk_screens.h"

namespace kv {

namespace {

std::string Utf8Of(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;  // an unpaired surrogate
        }
        char buffer[6];
        const int n = g_unichar_to_utf8(static_cast<gunichar>(c), buffer);
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

std::u16string Utf16Of(std::u32string_view text) {
    std::u16string out;
    for (const char32_t c : text) {
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

// Code points in the first `units` UTF-16 units of `text`.
glong CodePoints(std::u16string_view text, std::int64_t units) {
    const auto end = static_cast<std::size_t>(std::clamp<std::int64_t>(units, 0, text.size()));
    glong count = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (!(text[i] >= 0xDC00 && text[i] < 0xE000 && i > 0 && text[i - 1] >= 0xD800 &&
              text[i - 1] < 0xDC00)) {
            ++count;
        }
    }
    return count;
}

std::int64_t Utf16Units(std::u32string_view text, std::uint32_t codePoints) {
    const std::size_t n = std::min<std::size_t>(codePoints, text.size());
    std::int64_t units = 0;
    for (std::size_t i = 0; i < n; ++i) {
        units += text[i] >= 0x10000 ? 2 : 1;
    }
    return units;
}

}  // namespace

IBusTextClient::IBusTextClient(std::shared_ptr<const IBusEngineLink> link, std::string path)
    : _link(std::move(link)), _path(std::move(path)) {}

void IBusTextClient::setCursorLocation(const Rect& rootRect) {
    _cursor = rootRect;
}

void IBusTextClient::setSurroundingText(const std::u32string& text, std::uint32_t cursor,
                                        std::uint32_t anchor) {
    Surrounding surrounding;
    surrounding.cursor = Utf16Units(text, cursor);
    surrounding.anchor = Utf16Units(text, anchor);
    surrounding.text = Utf16Of(text);
    _surrounding = std::move(surrounding);
}

void IBusTextClient::setMarkedText(std::u16string_view text, Underline underline,
                                   Range selectionRange, Range) {
    _marked = text;
    IBusEngine* const engine = attachedEngine();
    if (engine == nullptr) {
        return;
    }
    const std::string utf8 = Utf8Of(text);
    IBusText* const preedit = ibus_text_new_from_string(utf8.c_str());
    const glong length = g_utf8_strlen(utf8.c_str(), -1);
    if (underline == Underline::Single && length > 0) {
        ibus_text_append_attribute(preedit, IBUS_ATTR_TYPE_UNDERLINE, IBUS_ATTR_UNDERLINE_SINGLE, 0,
                                   static_cast<guint>(length));
    }
    const glong caret =
        selectionRange.location == NotFound ? length : CodePoints(text, selectionRange.location);
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
        ibus_engine_commit_text(engine, ibus_text_new_from_string(Utf8Of(text).c_str()));
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
    const glong offset = CodePoints(s.text, start) - CodePoints(s.text, s.cursor);
    const glong count = CodePoints(s.text, end) - CodePoints(s.text, start);
    ibus_engine_delete_surrounding_text(engine, static_cast<gint>(offset),
                                        static_cast<guint>(count));
    // Until the client reports again, the text is what the deletion left.
    s.text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
    s.cursor = s.anchor = start;
}

Rect IBusTextClient::screenCursor() const {
    Rect caret = FlipRootRect(*_cursor, RootHeight());
    // Some toolkits report a caret without width or height; the panel needs a real rectangle.
    caret.size.width = std::max(caret.width(), 1.0);
    if (caret.height() <= 0) {
        caret.origin.y -= 16;
        caret.size.height = 16;
    }
    return caret;
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
