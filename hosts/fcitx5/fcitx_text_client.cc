// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/fcitx_text_client.h"

#include <fcitx/inputpanel.h>
#include <fcitx/text.h>
#include <fcitx/userinterface.h>

#include <algorithm>

#include "controller/caret_rules.h"
#include "hosts/fcitx5/fcitx_services.h"
#include "platform/transforms.h"

namespace kv {

FcitxTextClient::FcitxTextClient(fcitx::InputContext& context) : _context(context.watch()) {}

bool FcitxTextClient::updateCaret() {
    const fcitx::InputContext* const context = _context.get();
    if (context == nullptr) {
        return false;
    }
    const fcitx::Rect& r = context->cursorRect();
    std::optional<Rect> caret = KVCaretFromReport(Rect(r.left(), r.top(), r.width(), r.height()));
    if (caret) {
        // fcitx5 counts y downward from the top of the root window.
        caret = Rect(caret->minX(), kFcitxScreenHeight - caret->minY() - caret->height(),
                     caret->width(), caret->height());
    }
    const bool changed = caret != _caret;
    _caret = caret;
    return changed;
}

void FcitxTextClient::setMarkedText(std::u16string_view text, Underline underline,
                                    Range selectionRange, Range) {
    fcitx::InputContext* const context = _context.get();
    if (context == nullptr) {
        return;
    }
    const std::string utf8 = Transforms::utf16ToUtf8(text);
    const std::u16string_view beforeCaret =
        selectionRange.location == NotFound
            ? text
            : text.substr(0,
                          static_cast<std::size_t>(std::clamp<std::int64_t>(
                              selectionRange.location, 0, static_cast<std::int64_t>(text.size()))));
    fcitx::Text preedit;
    if (!utf8.empty()) {
        // fcitx5 commits a client's preedit when the context loses the focus, unless told not
        // to: the controller alone decides what a composition leaves in the text.
        fcitx::TextFormatFlags format = fcitx::TextFormatFlag::DontCommit;
        if (underline == Underline::Single) {
            format |= fcitx::TextFormatFlag::Underline;
        }
        preedit.append(utf8, format);
        // fcitx5's caret is a byte offset into the preedit.
        preedit.setCursor(static_cast<int>(Transforms::utf16ToUtf8(beforeCaret).size()));
    }
    fcitx::InputPanel& panel = context->inputPanel();
    if (context->capabilityFlags().test(fcitx::CapabilityFlag::Preedit)) {
        panel.setClientPreedit(preedit);
        context->updatePreedit();
    } else {
        panel.setPreedit(preedit);
    }
    context->updateUserInterface(fcitx::UserInterfaceComponent::InputPanel);
}

void FcitxTextClient::insertText(std::u16string_view text, Range replacementRange) {
    fcitx::InputContext* const context = _context.get();
    if (context == nullptr) {
        return;
    }
    if (replacementRange.location != NotFound) {
        deleteSurrounding(*context, replacementRange);
    }
    if (!text.empty()) {
        context->commitString(Transforms::utf16ToUtf8(text));
    }
}

std::optional<FcitxTextClient::Surrounding> FcitxTextClient::surrounding() const {
    const fcitx::InputContext* const context = _context.get();
    if (context == nullptr ||
        !context->capabilityFlags().test(fcitx::CapabilityFlag::SurroundingText) ||
        !context->surroundingText().isValid()) {
        return std::nullopt;
    }
    const fcitx::SurroundingText& around = context->surroundingText();
    Surrounding s;
    s.text = Transforms::utf8ToUtf16(around.text());
    // A cursor or anchor past the end says the client does not know its own text: deleting by
    // it could take the whole text, so it counts as no text.
    const std::int64_t length =
        Transforms::codePointsInUtf16(s.text, static_cast<std::int64_t>(s.text.size()));
    if (around.cursor() > length || around.anchor() > length) {
        return std::nullopt;
    }
    s.cursor = Transforms::utf16UnitsOfCodePoints(s.text, around.cursor());
    s.anchor = Transforms::utf16UnitsOfCodePoints(s.text, around.anchor());
    return s;
}

void FcitxTextClient::deleteSurrounding(fcitx::InputContext& context, Range range) {
    const std::optional<Surrounding> s = surrounding();
    if (!s) {
        return;
    }
    const auto size = static_cast<std::int64_t>(s->text.size());
    const std::int64_t start = std::clamp<std::int64_t>(range.location, 0, size);
    const std::int64_t end = std::clamp<std::int64_t>(start + range.length, start, size);
    if (end == start) {
        return;
    }
    const std::int64_t offset = Transforms::codePointsInUtf16(s->text, start) -
                                Transforms::codePointsInUtf16(s->text, s->cursor);
    const std::int64_t count =
        Transforms::codePointsInUtf16(s->text, end) - Transforms::codePointsInUtf16(s->text, start);
    // fcitx5 updates its copy of the surrounding text along with the request.
    context.deleteSurroundingText(static_cast<int>(offset), static_cast<unsigned int>(count));
}

std::optional<CharacterAttributes> FcitxTextClient::attributesForCharacterIndex(
    std::int64_t, Rect& lineHeightRectangle) {
    if (!_caret) {
        return std::nullopt;
    }
    lineHeightRectangle = *_caret;
    return CharacterAttributes::Present;
}

std::optional<Rect> FcitxTextClient::firstRectForCharacterRange(Range) {
    return _caret;
}

std::optional<Range> FcitxTextClient::selectedRange() {
    const std::optional<Surrounding> s = surrounding();
    if (!s) {
        return std::nullopt;
    }
    const std::int64_t start = std::min(s->cursor, s->anchor);
    return Range{start, std::max(s->cursor, s->anchor) - start};
}

std::optional<std::u16string> FcitxTextClient::attributedSubstringFromRange(Range range) {
    const std::optional<Surrounding> s = surrounding();
    if (!s || range.location < 0 || range.length < 0 ||
        range.location > static_cast<std::int64_t>(s->text.size())) {
        return std::nullopt;
    }
    return s->text.substr(static_cast<std::size_t>(range.location),
                          static_cast<std::size_t>(range.length));
}

}  // namespace kv
