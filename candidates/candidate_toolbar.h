// SPDX-License-Identifier: MIT
// The candidate window's five toolbar buttons as a desktop reads them: the word for what each
// does, shared by the desktop panel's properties, the tooltips and the screen reader's names.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "candidates/candidate_window.h"

namespace kv {

struct CandidateToolbarButton {
    std::string_view key;
    const Button& (KVCandidateWindow::*button)() const;
    void (KVCandidateWindow::*action)();
    std::string_view word;
    // Whether the title shows a state (繁 or 簡, 半 or 全) rather than a symbol.
    bool titleIsState;
};

inline constexpr std::array<CandidateToolbarButton, 5> kCandidateToolbarButtons{{
    {"toolbar.script", &KVCandidateWindow::scriptButton, &KVCandidateWindow::toggleScript, "繁／簡",
     true},
    {"toolbar.width", &KVCandidateWindow::widthButton, &KVCandidateWindow::toggleWidth, "半／全",
     true},
    {"toolbar.settings", &KVCandidateWindow::settingsButton, &KVCandidateWindow::openSettings,
     "設定", false},
    {"toolbar.words", &KVCandidateWindow::wordsButton, &KVCandidateWindow::openWords, "自建詞組",
     false},
    {"toolbar.keyboard", &KVCandidateWindow::keyboardButton, &KVCandidateWindow::toggleKeyboard,
     "螢幕鍵盤", false},
}};

// "繁／簡：繁" for a button that shows a state, the word alone for the others.
inline std::string CandidateToolbarName(const KVCandidateWindow& window,
                                        const CandidateToolbarButton& button) {
    std::string name(button.word);
    const std::string& title = (window.*button.button)().title();
    if (button.titleIsState && !title.empty()) {
        name += "：" + title;
    }
    return name;
}

// The button's title as a desktop's menu lists it: its state or symbol, else the word.
inline std::string CandidateToolbarTitle(const KVCandidateWindow& window,
                                         const CandidateToolbarButton& button) {
    const std::string& title = (window.*button.button)().title();
    return title.empty() ? std::string(button.word) : title;
}

// The titles that change with the modes: a desktop is told the buttons anew when these change.
inline std::string CandidateToolbarStates(const KVCandidateWindow& window) {
    std::string states;
    for (const CandidateToolbarButton& button : kCandidateToolbarButtons) {
        if (button.titleIsState) {
            states += (window.*button.button)().title();
        }
    }
    return states;
}

}  // namespace kv
