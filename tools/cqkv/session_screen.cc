// SPDX-License-Identifier: MIT
#include "tools/cqkv/session_screen.h"

namespace kv {

namespace {

constexpr std::string_view kHelp =
    "Space: look up, next page   1-0: choose   arrows: page   Esc: cancel   Ctrl+D: quit";

void AppendCandidates(const TypingSession& session, std::vector<std::string>& lines) {
    const CandidatePage page = session.page();
    const std::vector<std::string>& candidates = session.engine().candidates;
    for (std::size_t row = 0; row < page.rows; ++row) {
        lines.push_back(std::string(1, kSelectionKeys[row]) + ' ' +
                        printableText(candidates[page.start + row]));
    }
    lines.push_back("page " + std::to_string(page.number) + '/' + std::to_string(page.pages));
}

}  // namespace

std::string printableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\xEF\xBF\xBD";  // U+FFFD
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<std::string> renderSession(const TypingSession& session) {
    std::vector<std::string> lines{std::string(kHelp),
                                   "Text: " + printableText(session.committed())};
    const cqinput::InputEngine& engine = session.engine();
    if (!engine.code.empty()) {
        lines.push_back("Code: " + printableText(engine.readingDisplay()) + " (" +
                        printableText(engine.code) + ")");
    }
    if (!engine.candidates.empty()) {
        AppendCandidates(session, lines);
    }
    if (!session.notice().empty()) {
        lines.push_back(printableText(session.notice()));
    }
    return lines;
}

}  // namespace kv
