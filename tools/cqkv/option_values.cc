// SPDX-License-Identifier: MIT
#include "tools/cqkv/option_values.h"

#include <charconv>
#include <cstdint>

namespace kv {

namespace {

template <typename Number>
std::optional<Number> WholeNumber(std::string_view text) {
    Number value{};
    const char* const end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

DefaultsValue SettingValue(std::string_view text) {
    if (const auto number = WholeNumber<std::int64_t>(text)) {
        return *number;
    }
    return std::string(text);
}

std::optional<std::pair<std::string, DefaultsValue>> SettingAssignment(
    std::string_view assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return std::nullopt;
    }
    return std::pair{std::string(assignment.substr(0, equals)),
                     SettingValue(assignment.substr(equals + 1))};
}

bool StoreSetting(std::string_view assignment, UserDefaults& settings, std::string& error) {
    const auto setting = SettingAssignment(assignment);
    if (!setting) {
        error = "--set needs KEY=VALUE, not \"" + std::string(assignment) + "\"";
        return false;
    }
    settings.setObject(setting->first, setting->second);
    return true;
}

std::optional<Size> WholeSize(std::string_view text) {
    const std::size_t cross = text.find('x');
    if (cross == std::string_view::npos) {
        return std::nullopt;
    }
    const auto width = WholeNumber<int>(text.substr(0, cross));
    const auto height = WholeNumber<int>(text.substr(cross + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    return Size{static_cast<double>(*width), static_cast<double>(*height)};
}

}  // namespace kv
