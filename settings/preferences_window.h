// SPDX-License-Identifier: MIT
// The settings window's logic: the controls' values as plain data, filled from the stored
// settings, changed by the user's actions, and written back by Save. A body (the GTK window in
// the program, none in tests) shows the values and forwards what the user does.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/color.h"
#include "platform/font.h"
#include "settings/theme.h"

namespace kv {

// Which of the radio pair was clicked.
enum class ToggleRadio { CapsLock, Shift };

// What asked for the preview to be redone; only a pick in the theme pop-up resets the wells.
enum class PreviewSender { None, Theme, FontSize, ColorWell };

// The values of every editable control, as the window shows them.
struct PreferencesControls {
    bool capsRadio = true;
    bool shiftRadio = false;
    bool persistentToolbar = true;
    std::size_t followMode = 0;  // index into "不跟隨", "輸入位置變化時跟隨", "打字時暫時跟隨"
    bool letterSelection = false;
    std::size_t scriptMode = 0;  // 0 "繁體", 1 "簡體"
    std::size_t theme = 0;       // index into KVThemePresetNames
    std::size_t fontSize = 2;    // index into KVFontSizeTitles
    ThemeColors colorWells{};    // in KVThemeColorKeys order
};

// The preview box: a panel background with a border, a first row drawn as the selected
// candidate and a second row drawn unselected.
struct PreferencesPreview {
    Color background;
    Color border;
    Color firstText;
    Color firstBackground;
    Color secondText;
    Font font;
};

class KVPreferencesWindow;

// What puts the window on screen. It is told after every change of the values.
class PreferencesWindowBody {
  public:
    virtual ~PreferencesWindowBody() = default;
    // The controls' values or the preview changed: show them all again.
    virtual void windowDidChange(const KVPreferencesWindow& window) = 0;
    // Shows the window in front of every other and gives it the keyboard, although the program
    // runs in the background.
    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
};

class KVPreferencesWindow {
  public:
    using BodyMaker = std::function<std::unique_ptr<PreferencesWindowBody>(KVPreferencesWindow&)>;

    // What the window needs from the program around it. Without a body the window works on its
    // values alone; without `openWords` the words button does nothing.
    struct Hooks {
        BodyMaker makeBody;
        std::function<void()> openWords;
    };

    // The one instance, made on the first call with the hooks given to prepareSharedWindow.
    static KVPreferencesWindow& sharedWindow();
    // Called once by the program's entry, before the first sharedWindow().
    static void prepareSharedWindow(Hooks hooks);

    // Builds the window hidden, its controls filled from the settings; tests make their own.
    explicit KVPreferencesWindow(Hooks hooks = {});
    KVPreferencesWindow(const KVPreferencesWindow&) = delete;
    KVPreferencesWindow& operator=(const KVPreferencesWindow&) = delete;

    // Refills the controls from the stored settings and brings the window to the front.
    void showWindow();
    // Fills every control with the reading rules of the settings window.
    void loadSettings();

    // The user's actions, as the controls send them.
    void toggleRadio(ToggleRadio sender);
    void setPersistentToolbar(bool on);
    void selectFollowMode(std::size_t index);
    void setLetterSelection(bool on);
    void selectScriptMode(std::size_t index);
    // A preset picked in the theme pop-up sets all six wells to its colours.
    void selectTheme(std::size_t index);
    void selectFontSize(std::size_t index);
    void pickColor(std::size_t well, const Color& color);
    void updatePreview(PreviewSender sender);
    // Writes every key the window edits, tells the controllers, and hides the window; when the
    // settings cannot be saved the window stays, telling why (saveProblem), with the beep.
    void save();
    void openWords();
    // The close box: the edits are dropped, nothing is stored.
    void windowWillClose();

    const PreferencesControls& controls() const { return _controls; }
    const PreferencesPreview& preview() const { return _preview; }
    bool isVisible() const { return _visible; }
    const PreferencesWindowBody* body() const { return _body.get(); }
    // Why the last Save could not store the settings; empty after one that could.
    const std::string& saveProblem() const { return _saveProblem; }

  private:
    void changed();

    PreferencesControls _controls;
    PreferencesPreview _preview;
    bool _loadingSettings = false;
    bool _visible = false;
    std::string _saveProblem;
    std::function<void()> _openWords;
    std::unique_ptr<PreferencesWindowBody> _body;
};

}  // namespace kv
