// SPDX-License-Identifier: MIT
#include "platform/linux/fcitx5_description.h"

#include <algorithm>

namespace kv {

namespace {

constexpr std::string_view kBlank = " \t\r\n";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

// The section a header line opens, or nothing for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') {
        return std::nullopt;
    }
    return trimmed.substr(1, trimmed.size() - 2);
}

// The key of a `Key=Value` line, or nothing for comments and other lines.
std::optional<std::string_view> KeyOf(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    const std::size_t equals = trimmed.find('=');
    if (trimmed.empty() || trimmed.front() == '#' || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return Trimmed(trimmed.substr(0, equals));
}

bool CannotBeWrittenPlain(std::string_view value) {
    if (value.find_first_of(std::string_view("\n\r\0", 3)) != std::string_view::npos) {
        return true;
    }
    return !value.empty() &&
           (Trimmed(value).size() != value.size() || value.front() == '"' || value.back() == '"');
}

}  // namespace

std::optional<std::string> WithFcitxValue(std::string_view text, std::string_view section,
                                          std::string_view key, std::string_view value) {
    if (text.find('\0') != std::string_view::npos || CannotBeWrittenPlain(value)) {
        return std::nullopt;
    }
    const std::string line = std::string(key) + "=" + std::string(value) + "\n";
    std::string result;
    result.reserve(text.size() + line.size() + 1);
    bool inSection = false;
    bool sectionSeen = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1);
        const std::string_view current = text.substr(0, end + 1);
        text.remove_prefix(end + 1);
        const std::optional<std::string_view> opened = SectionOf(current);
        if (opened) {
            inSection = *opened == section;
        } else if (inSection && KeyOf(current) == key) {
            // Every line of the key goes: the value has one line, under the first header.
            continue;
        }
        result += current;
        if (inSection && opened && !sectionSeen) {
            if (result.back() != '\n') {
                result += '\n';
            }
            result += line;
            sectionSeen = true;
        }
    }
    if (!sectionSeen) {
        return std::nullopt;
    }
    return result;
}

}  // namespace kv
