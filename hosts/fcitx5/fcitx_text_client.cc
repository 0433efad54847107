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

std::optional<SurroundingText> FcitxTextClient::surrounding() const {
    const fcitx::InputContext* const context = _context.get();
    if (context == nullptr ||
        !context->capabilityFlags().test(fcitx::CapabilityFlag::SurroundingText) ||
        !context->surroundingText().isValid()) {
        return std::nullopt;
    }
    const fcitx::SurroundingText& around = context->surroundingText();
    return SurroundingText::fromCodePoints(around.text(), around.cursor(), around.anchor());
}

void FcitxTextClient::deleteSurrounding(fcitx::InputContext& context, Range range) {
    std::optional<SurroundingText> s = surrounding();
    // fcitx5 updates its copy of the surrounding text along with the request.
    if (const auto deletion = s ? s->erase(range) : std::nullopt) {
        context.deleteSurroundingText(static_cast<int>(deletion->offset),
                                      static_cast<unsigned int>(deletion->count));
    }
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
    const std::optional<SurroundingText> s = surrounding();
    return s ? std::optional<Range>(s->selectedRange()) : std::nullopt;
}

std::optional<std::u16string> FcitxTextClient::attributedSubstringFromRange(Range range) {
    const std::optional<SurroundingText> s = surrounding();
    return s ? s->substring(range) : std::nullopt;
}

}  // namespace kv
