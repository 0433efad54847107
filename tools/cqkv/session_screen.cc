// SPDX-License-Identifier: MIT
#include "tools/cqkv/session_screen.h"

namespace kv {

namespace {

constexpr std::string_view kHelp =
    "Space: look up   keys of the page: choose   arrows: page   Esc: cancel   Ctrl+D: quit";

void AppendCandidates(TerminalSession& session, std::vector<std::string>& lines) {
    const KVCandidateWindow& window = session.runner().candidateWindow();
    for (std::size_t row = 0; row < KVCandidateWindow::kPageSize; ++row) {
        if (!window.text(row).hidden) {
            lines.push_back(printableText(window.number(row).text) + ' ' +
                            printableText(window.text(row).text));
        }
    }
    lines.push_back("page " + printableText(session.last().panel.page));
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

std::vector<std::string> renderSession(TerminalSession& session) {
    std::vector<std::string> lines{std::string(kHelp), "Text: " + printableText(session.text())};
    const StepReport& last = session.last();
    if (!last.marked.empty()) {
        lines.push_back("Code: " + printableText(last.marked));
    }
    if (last.panel.visible && !last.panel.toolbar && !last.panel.items.empty()) {
        AppendCandidates(session, lines);
    }
    for (const std::string& line : session.runner().log().lines) {
        lines.push_back(printableText(line));
    }
    return lines;
}

}  // namespace kv
