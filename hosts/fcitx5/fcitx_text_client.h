// SPDX-License-Identifier: MIT
// The text of one fcitx5 input context as the controller sees it: marked text becomes the
// client's preedit (or the input panel's, for a client that shows none), insertion a commit,
// the caret rectangle comes from the context's cursor rectangle and the selection and
// substrings from its surrounding text. fcitx5 counts the preedit caret in bytes and the
// surrounding text in characters, the controller in UTF-16 units; the conversions happen here.
#pragma once

#include <fcitx-utils/trackableobject.h>
#include <fcitx/inputcontext.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/surrounding_text.h"
#include "platform/text_client.h"

namespace kv {

class FcitxTextClient final : public TextClient {
  public:
    explicit FcitxTextClient(fcitx::InputContext& context);

    // Takes the context's cursor rectangle anew; true when the usable caret changed.
    bool updateCaret();

    void setMarkedText(std::u16string_view text, Underline underline, Range selectionRange,
                       Range replacementRange) override;
    void insertText(std::u16string_view text, Range replacementRange) override;
    std::optional<CharacterAttributes> attributesForCharacterIndex(
        std::int64_t index, Rect& lineHeightRectangle) override;
    std::optional<Rect> firstRectForCharacterRange(Range range) override;
    std::optional<Range> selectedRange() override;
    std::optional<std::u16string> attributedSubstringFromRange(Range range) override;

  private:
    // The context's surrounding text, when it has one that makes sense.
    std::optional<SurroundingText> surrounding() const;
    void deleteSurrounding(fcitx::InputContext& context, Range range);

    fcitx::TrackableObjectReference<fcitx::InputContext> _context;
    std::optional<Rect> _caret;  // y upward, on the addon's one screen
};

}  // namespace kv
