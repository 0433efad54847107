// SPDX-License-Identifier: MIT
// Small deterministic bodies: a recording beep, fixed screens, a fixed-width text measurer.
#pragma once

#include <optional>
#include <vector>

#include "platform/beep.h"
#include "platform/screens.h"
#include "platform/text_measurer.h"

namespace kv {

class RecordingBeep final : public Beep {
  public:
    void beep() override { ++count; }
    int count = 0;
};

class FixedScreens final : public Screens {
  public:
    std::vector<Screen> screens() const override { return list; }
    std::optional<Screen> mainScreen() const override {
        return list.empty() ? std::nullopt : std::optional(list.front());
    }
    // The first screen is the main one.
    std::vector<Screen> list{{Rect(0, 0, 1440, 900), Rect(0, 0, 1440, 875)}};
};

// Every character (a UTF-8 sequence counts once) is `advance` × the point size wide; the line
// height is 1.25 × the point size. Exact numbers, so layouts can be checked to the point.
class FixedWidthTextMeasurer final : public TextMeasurer {
  public:
    Size sizeOf(std::string_view text, const Font& font) const override;
    double advance = 1.0;
};

}  // namespace kv
