// SPDX-License-Identifier: MIT
// Colours as stored in the settings: one integer 0xRRGGBB in sRGB, no alpha.
#pragma once

#include <cstdint>

#include "platform/color.h"

namespace kv {

// Each component × 255, rounded half away from zero, joined with OR. Components outside 0..1
// are first brought into range so that one can never spill into its neighbour's bits.
std::int64_t KVPackedColor(const Color& color);

// The low 24 bits as red, green and blue with alpha 1; higher bits are ignored, so -1 is white.
Color KVColorFromPacked(std::int64_t packed);

}  // namespace kv
