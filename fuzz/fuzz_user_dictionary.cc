// SPDX-License-Identifier: MIT
// Feeds bytes to the user dictionary parser, with the letters a to z and "," as the table's keys,
// and checks every phrase it accepts against the rules. The same bytes also go through the UTF-8
// check, the folding and the wildcard match, each compared with a plain reference.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/code_rules.h"
#include "engine/text_util.h"
#include "engine/user_dictionary.h"

namespace {

constexpr std::size_t kMaxCodeLength = 6;
// The wildcard reference is quadratic; longer inputs add nothing to what it can find.
constexpr std::size_t kMaxMatchInput = 256;

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

bool IsKey(char c) {
    return (c >= 'a' && c <= 'z') || c == ',';
}

bool IsCodeByte(char c) {
    return c == '*' || c == '?' || IsKey(c);
}

// Well-formed UTF-8 by the table of well-formed byte sequences (Unicode, table 3-7).
bool ReferenceUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        std::size_t length = 1;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead <= 0x7F) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (s.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// "?" one byte, "*" any run, by dynamic programming. Agrees with the engine's matcher on codes
// without "*" (a "*" in a code meets a "*" in the pattern as a plain byte there).
bool ReferenceMatch(std::string_view pattern, std::string_view code) {
    // matches[j]: the pattern so far matches the first j bytes of the code.
    std::vector<char> matches(code.size() + 1, 0);
    matches[0] = 1;
    for (const char p : pattern) {
        std::vector<char> next(code.size() + 1, 0);
        for (std::size_t j = 0; j <= code.size(); ++j) {
            if (p == '*') {
                next[j] = matches[j] || (j > 0 && next[j - 1]);
            } else if (j > 0) {
                next[j] = matches[j - 1] && (p == '?' || p == code[j - 1]);
            }
        }
        matches = std::move(next);
    }
    return matches[code.size()] != 0;
}

void CheckPhrases(const cqinput::PhraseMap& phrases) {
    for (const auto& [code, list] : phrases) {
        Require(!code.empty() && code.size() <= kMaxCodeLength, "a code of a wrong length");
        Require(std::all_of(code.begin(), code.end(), IsCodeByte), "a code byte is no key");
        Require(!list.empty(), "a code without phrases");
        for (const std::string& phrase : list) {
            Require(!phrase.empty() && cqinput::detail::validUtf8(phrase), "a bad phrase");
            Require(phrase.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
                    "a phrase holds a line end or a NUL");
            Require(static_cast<std::size_t>(std::count_if(
                        phrase.begin(), phrase.end(),
                        [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; })) <=
                        cqinput::kMaxPhraseLength,
                    "a phrase past the longest");
            Require(phrase.front() != ' ' && phrase.front() != '\t' && phrase.back() != ' ' &&
                        phrase.back() != '\t',
                    "a phrase keeps outer blanks");
        }
    }
}

void CheckDictionary(std::string_view text) {
    std::size_t lines = 0;
    std::size_t lastLine = 0;
    cqinput::detail::forEachLine(text, [&](std::string_view, std::size_t number) {
        ++lines;
        lastLine = number;
    });
    cqinput::PhraseMap phrases;
    const std::function<bool(char)> isKey = IsKey;
    const auto problem = cqinput::parseUserDictionary(text, isKey, phrases);
    if (problem) {
        Require(problem->line >= 1 && problem->line <= lastLine, "a problem on no line");
        Require(!problem->reason.empty(), "a problem without a reason");
        // A reason goes to the log: no control byte of the file, and no megabytes of it.
        Require(std::none_of(problem->reason.begin(), problem->reason.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
                "a reason carries a control byte");
        Require(problem->reason.size() < 256, "a reason carries the file's text at length");
        return;
    }
    CheckPhrases(phrases);
    std::size_t stored = 0;
    for (const auto& item : phrases) {
        stored += item.second.size();
    }
    Require(stored == lines, "an accepted file lost or gained an entry");
}

void CheckUtf8(std::string_view text) {
    Require(cqinput::detail::validUtf8(text) == ReferenceUtf8(text), "validUtf8 is wrong");
}

// The copy-free folding that lookups use agrees with the plain one.
void CheckFolding(std::string_view text) {
    std::string storage;
    Require(cqinput::detail::foldedView(text, storage) == cqinput::detail::lowerAscii(text),
            "foldedView differs from lowerAscii");
}

// The input up to its first line end is a pattern, the rest a code.
void CheckMatch(std::string_view text) {
    text = text.substr(0, kMaxMatchInput);
    const std::size_t cut = std::min(text.find('\n'), text.size());
    const std::string_view pattern = text.substr(0, cut);
    const std::string_view code = text.substr(std::min(cut + 1, text.size()));
    Require(cqinput::detail::wildcardMatch(code, code), "a code does not match itself");
    if (code.find('*') == std::string_view::npos) {
        Require(cqinput::detail::wildcardMatch(pattern, code) == ReferenceMatch(pattern, code),
                "wildcardMatch is wrong");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckDictionary(text);
    CheckUtf8(text);
    CheckFolding(text);
    CheckMatch(text);
    return 0;
}
