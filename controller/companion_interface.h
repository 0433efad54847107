// SPDX-License-Identifier: MIT
// The names on the session bus between an input method host whose loop cannot show GTK windows
// (fcitx5's) and the companion process that shows them (docs/companion.md). Both sides read
// them from here, so they cannot drift apart.
#pragma once

#include <string_view>

namespace kv::companion {

inline constexpr std::string_view kBusName = "org.cqinputkv.inputmethod.CQInputKV.Companion";
inline constexpr std::string_view kObjectPath = "/org/cqinputkv/Companion";
inline constexpr std::string_view kInterface = "org.cqinputkv.Companion1";

// Methods, no arguments and no reply anyone waits for.
inline constexpr std::string_view kShowSettings = "ShowSettings";
inline constexpr std::string_view kShowWords = "ShowWords";
inline constexpr std::string_view kShowKeyboard = "ShowKeyboard";
inline constexpr std::string_view kHideKeyboard = "HideKeyboard";

// Signals: a key of the on-screen keyboard (its token), Save in the settings window, a change of
// the user dictionary, and the keyboard closed by its own close button.
inline constexpr std::string_view kKeyPressed = "KeyPressed";
inline constexpr std::string_view kSettingsSaved = "SettingsSaved";
inline constexpr std::string_view kWordsChanged = "WordsChanged";
inline constexpr std::string_view kKeyboardClosed = "KeyboardClosed";

// The executable's argument that starts the companion.
inline constexpr std::string_view kArgument = "--companion";

}  // namespace kv::companion
