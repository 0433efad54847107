// SPDX-License-Identifier: MIT
// A session scenario written as text: key presses, on-screen keyboard clicks, clicks on the
// candidate window, the clock, and the framework's and the windows' events. Tokens are separated
// by blanks:
//   a  1  ;  Space  Return  Escape  Delete  Tab  Left  Right  Up  Down  PageUp  PageDown
//   KP_0 ... KP_9  KP_Enter        a key (the US layout's key-down), optionally prefixed by
//                                  Shift+, Ctrl+, Alt+ or Cmd+ (several may be combined)
//   Shift                          a lone Shift press and release
//   CapsLock                       one Caps Lock press
//   osk:a  osk:__space__  osk:__backspace__     a click on the on-screen keyboard
//   click:N                        a click on candidate row N (0 to 9) of the panel
//   button:script|width|settings|words|keyboard a toolbar button
//   wait:SECONDS                   the clock moves on
//   activate  deactivate  app-switch  settings-saved  words-changed
//   session:N                      later tokens go to session N
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/key_event.h"

namespace kv {

enum class SessionStepKind {
    Key,
    Shift,
    CapsLock,
    KeyboardClick,
    RowClick,
    ToolbarButton,
    Wait,
    Activate,
    Deactivate,
    ApplicationSwitch,
    SettingsSaved,
    WordsChanged,
    SwitchSession,
};

enum class ToolbarButton { Script, Width, Settings, Words, Keyboard };

struct SessionStep {
    SessionStepKind kind = SessionStepKind::Key;
    std::string token;                             // as written
    KeyEvent event;                                // Key
    std::string keyboardToken;                     // KeyboardClick: "a", "__space__"...
    int row = 0;                                   // RowClick
    ToolbarButton button = ToolbarButton::Script;  // ToolbarButton
    double seconds = 0;                            // Wait
    std::string session;                           // SwitchSession: the session's name
};

// One token, or nothing when it is unknown or malformed.
std::optional<SessionStep> parseSessionStep(std::string_view token);

// Every token of `script` in order. On the first unknown token: nothing, with `badToken` set.
std::optional<std::vector<SessionStep>> parseSessionScript(std::string_view script,
                                                           std::string& badToken);

}  // namespace kv
