// SPDX-License-Identifier: MIT
#include "settings/packed_color.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

std::int64_t Component(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return std::lround(std::clamp(value, 0.0, 1.0) * 255.0);
}

double Channel(std::uint64_t bits, int shift) {
    return static_cast<double>((bits >> shift) & 0xFFu) / 255.0;
}

}  // namespace

std::int64_t KVPackedColor(const Color& color) {
    return (Component(color.red) << 16) | (Component(color.green) << 8) | Component(color.blue);
}

Color KVColorFromPacked(std::int64_t packed) {
    const auto bits = static_cast<std::uint64_t>(packed);
    return {Channel(bits, 16), Channel(bits, 8), Channel(bits, 0), 1.0};
}

}  // namespace kv
