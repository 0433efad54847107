// SPDX-License-Identifier: MIT
// The text transforms with ICU.
#pragma once

#include <memory>

#include "platform/transforms.h"

namespace kv {

class IcuTransforms final : public Transforms {
  public:
    IcuTransforms();
    ~IcuTransforms() override;
    IcuTransforms(const IcuTransforms&) = delete;
    IcuTransforms& operator=(const IcuTransforms&) = delete;

    // Text is left as it is when ICU lacks the transform's data.
    std::u16string traditionalToSimplified(std::u16string_view text) const override;
    std::u16string lowercase(std::u16string_view text) const override;
    bool isWhiteSpace(char32_t c) const override;
    // The grapheme cluster that holds the unit at `index`.
    Range rangeOfComposedCharacterSequence(std::u16string_view text,
                                           std::int64_t index) const override;

  private:
    struct Simplifier;
    // Made on first use: building it loads the transform's rules.
    mutable std::unique_ptr<Simplifier> _simplifier;
};

}  // namespace kv
