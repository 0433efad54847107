// SPDX-License-Identifier: MIT
// The names under which the settings are stored, and the notification of a saved settings window.
#pragma once

#include <string_view>

namespace kv {

// The keys of the user defaults. Readers go through settings_table.h rather than
// reading these directly, so every reader applies its own fallback and clamp.
namespace SettingsKey {
inline constexpr std::string_view ToggleKey = "ToggleKey";
inline constexpr std::string_view PersistentToolbar = "PersistentToolbar";
inline constexpr std::string_view ToolbarFollowMode = "ToolbarFollowMode";
inline constexpr std::string_view LetterSelection = "LetterSelection";
inline constexpr std::string_view SimplifiedOutput = "SimplifiedOutput";
inline constexpr std::string_view FullwidthMode = "FullwidthMode";
inline constexpr std::string_view ThemePreset = "ThemePreset";
inline constexpr std::string_view ThemeBackground = "ThemeBackground";
inline constexpr std::string_view ThemeText = "ThemeText";
inline constexpr std::string_view ThemeMuted = "ThemeMuted";
inline constexpr std::string_view ThemeSelection = "ThemeSelection";
inline constexpr std::string_view ThemeSelectedText = "ThemeSelectedText";
inline constexpr std::string_view ThemeBorder = "ThemeBorder";
inline constexpr std::string_view CandidateFontSize = "CandidateFontSize";
// Where the candidate list is drawn on a desktop that offers both; not in the settings window.
inline constexpr std::string_view CandidatePanel = "CandidatePanel";
}  // namespace SettingsKey

// The values of CandidatePanel; absent (or anything else) chooses by the session.
namespace CandidatePanelValue {
inline constexpr std::string_view Own = "own";
inline constexpr std::string_view Desktop = "desktop";
}  // namespace CandidatePanelValue

// The two values the settings window writes under ToggleKey.
namespace ToggleKeyValue {
inline constexpr std::string_view CapsLock = "CapsLock";
inline constexpr std::string_view Shift = "Shift";
}  // namespace ToggleKeyValue

// Posted on the default centre by the settings window's Save, after every key is written.
inline constexpr std::string_view KVSettingsDidChangeNotification =
    "KVSettingsDidChangeNotification";

}  // namespace kv
