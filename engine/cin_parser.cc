// SPDX-License-Identifier: MIT
#include "engine/cin_parser.h"

#include <cstring>

#include "engine/text_util.h"

namespace cqinput {

namespace {

enum class Section { TopLevel, KeyNames, CharDefs };

// An upper bound for the number of entries, to size the arrays once.
std::size_t CountLines(std::string_view text) {
    std::size_t lines = 1;
    const char* const end = text.data() + text.size();
    for (const char* at = text.data();
         (at = static_cast<const char*>(std::memchr(at, '\n', end - at))) != nullptr; ++at) {
        ++lines;
    }
    return lines;
}

// Section markers are exact: no folding, nothing after "begin" or "end".
constexpr bool IsMarker(std::string_view key, std::string_view value, std::string_view section,
                        std::string_view edge) {
    return key == section && value == edge;
}

void ParseTopLevelLine(std::string_view line, std::string_view key, std::string_view value,
                       Section& section, KeyMap& properties) {
    if (line.front() == '#' || key.empty()) {
        return;
    }
    if (IsMarker(key, value, "%keyname", "begin")) {
        section = Section::KeyNames;
    } else if (IsMarker(key, value, "%chardef", "begin")) {
        section = Section::CharDefs;
    } else if (key.front() == '%') {
        properties.insert_or_assign(detail::lowerAscii(key.substr(1)), value);
    }
}

}  // namespace

void parseCin(std::string_view text, CodeMap& chardef, KeyMap& keynames, KeyMap& properties) {
    chardef.reserve(CountLines(text));
    Section section = Section::TopLevel;
    std::string scratch;
    detail::forEachLine(text, [&](std::string_view line, std::size_t) {
        const auto [key, value] = detail::splitLine(line);
        switch (section) {
            case Section::TopLevel:
                ParseTopLevelLine(line, key, value, section, properties);
                break;
            case Section::KeyNames:
                if (IsMarker(key, value, "%keyname", "end")) {
                    section = Section::TopLevel;
                } else if (!key.empty() && !value.empty()) {
                    keynames.insert_or_assign(detail::lowerAscii(key), value);
                }
                break;
            case Section::CharDefs:
                if (IsMarker(key, value, "%chardef", "end")) {
                    section = Section::TopLevel;
                } else if (!key.empty() && !value.empty()) {
                    chardef.add(detail::foldedView(key, scratch), value);
                }
                break;
        }
    });
    chardef.finish();
}

}  // namespace cqinput
