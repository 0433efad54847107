// SPDX-License-Identifier: MIT
#include "platform/user_defaults.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kv {

namespace {

// Leading blanks and a sign allowed, trailing garbage ignored, as a lenient integer reader does.
std::int64_t ParseLeadingInteger(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    return error == std::errc() ? value : 0;
}

std::int64_t TruncateReal(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kMax = static_cast<double>(std::numeric_limits<std::int64_t>::max());
    constexpr double kMin = static_cast<double>(std::numeric_limits<std::int64_t>::min());
    if (value >= kMax) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value <= kMin) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

struct IntegerReading {
    std::int64_t operator()(bool b) const { return b ? 1 : 0; }
    std::int64_t operator()(std::int64_t i) const { return i; }
    std::int64_t operator()(double d) const { return TruncateReal(d); }
    std::int64_t operator()(const std::string& s) const { return ParseLeadingInteger(s); }
};

struct BoolReading {
    bool operator()(bool b) const { return b; }
    bool operator()(std::int64_t i) const { return i != 0; }
    bool operator()(double d) const { return d != 0; }
    bool operator()(const std::string& s) const {
        if (s == "YES" || s == "yes" || s == "true" || s == "TRUE") {
            return true;
        }
        return ParseLeadingInteger(s) != 0;
    }
};

struct StringReading {
    std::optional<std::string> operator()(bool) const { return std::nullopt; }
    std::optional<std::string> operator()(std::int64_t i) const { return std::to_string(i); }
    std::optional<std::string> operator()(double d) const {
        char buffer[32];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, d);
        return error == std::errc() ? std::optional<std::string>(std::string(buffer, end))
                                    : std::nullopt;
    }
    std::optional<std::string> operator()(const std::string& s) const { return s; }
};

}  // namespace

bool UserDefaults::boolForKey(std::string_view key) const {
    const std::optional<DefaultsValue> value = objectForKey(key);
    return value ? std::visit(BoolReading{}, *value) : false;
}

std::int64_t UserDefaults::integerForKey(std::string_view key) const {
    const std::optional<DefaultsValue> value = objectForKey(key);
    return value ? std::visit(IntegerReading{}, *value) : 0;
}

std::optional<std::string> UserDefaults::stringForKey(std::string_view key) const {
    const std::optional<DefaultsValue> value = objectForKey(key);
    return value ? std::visit(StringReading{}, *value) : std::nullopt;
}

}  // namespace kv
