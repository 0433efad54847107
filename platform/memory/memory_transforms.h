// SPDX-License-Identifier: MIT
// Text transforms without a Unicode library: a small Traditional-to-Simplified table, ASCII and
// Latin-1 lower-casing, the complete list of blanks and a simple rule for composed characters.
// Enough for tests to be exact about what they expect.
#pragma once

#include "platform/transforms.h"

namespace kv {

class MemoryTransforms final : public Transforms {
  public:
    // Maps 體 國 門 學 這 個 們 會 來 時 說 電 腦 語 漢 為 與 麼 愛 書 車 馬 鳥 龍 雲 階 輸 詞 組
    // 設 to their Simplified forms.
    std::u16string traditionalToSimplified(std::u16string_view text) const override;
    std::u16string lowercase(std::u16string_view text) const override;
    bool isWhiteSpace(char32_t c) const override;
    // A base character (one unit or a surrogate pair) with the combining marks (U+0300 to
    // U+036F), variation selectors and skin tone modifiers after it, joined on through U+200D;
    // CR LF is one sequence. A negative index gives the empty range at the start.
    Range rangeOfComposedCharacterSequence(std::u16string_view text,
                                           std::int64_t index) const override;
};

}  // namespace kv
