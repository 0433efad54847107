// SPDX-License-Identifier: MIT
// The text of one IBus input context as the controller sees it: marked text becomes the
// preedit, insertion a commit, the caret rectangle comes from set_cursor_location and the
// selection and substrings from the surrounding text. IBus counts characters in code points,
// the controller in UTF-16 units; the conversion happens here.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "hosts/linux/ibus_engine_link.h"
#include "platform/surrounding_text.h"
#include "platform/text_client.h"

namespace kv {

class IBusTextClient final : public TextClient {
  public:
    IBusTextClient(std::shared_ptr<const IBusEngineLink> link, std::string path);

    const std::string& path() const { return _path; }

    // What the context told the engine while it was attached to it.
    // The caret as reported, in root coordinates with y downward, in the client's pixels;
    // true when the usable caret changed.
    bool setCursorLocation(const Rect& reported);
    // The caret in GDK root coordinates; nothing while the client has told no usable one.
    const std::optional<Rect>& cursorLocation() const { return _cursor; }
    // How many of the client's pixels make one of GDK's logical pixels (2 for a GTK 3 client
    // at scale 2, which reports device pixels).
    void setReportedPixelsPerPoint(double scale) { _reportScale = scale; }
    // The text around the caret; the caret and the anchor count code points.
    void setSurroundingText(std::string_view utf8, std::uint32_t cursor, std::uint32_t anchor);

    void setMarkedText(std::u16string_view text, Underline underline, Range selectionRange,
                       Range replacementRange) override;
    void insertText(std::u16string_view text, Range replacementRange) override;
    std::optional<CharacterAttributes> attributesForCharacterIndex(
        std::int64_t index, Rect& lineHeightRectangle) override;
    std::optional<Rect> firstRectForCharacterRange(Range range) override;
    std::optional<Range> selectedRange() override;
    std::optional<std::u16string> attributedSubstringFromRange(Range range) override;

    // The marked text now shown, for the tests of the host.
    const std::u16string& markedText() const { return _marked; }

  private:
    IBusEngine* attachedEngine() const { return _link->engineFor(_path); }
    Rect screenCursor() const;
    void deleteSurrounding(IBusEngine* engine, Range range);

    std::shared_ptr<const IBusEngineLink> _link;
    std::string _path;
    std::optional<Rect> _cursor;
    double _reportScale = 1;
    std::optional<SurroundingText> _surrounding;
    std::u16string _marked;
};

}  // namespace kv
