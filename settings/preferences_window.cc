// SPDX-License-Identifier: MIT
#include "settings/preferences_window.h"

#include <charconv>
#include <string_view>

#include "platform/services.h"
#include "settings/packed_color.h"
#include "settings/settings_keys.h"
#include "settings/settings_table.h"
#include "settings/settings_writer.h"

namespace kv {

namespace {

// Followed by the reason the settings store gives (a full disk, a read-only folder).
constexpr std::string_view kCannotSave = "無法儲存設定：";

KVPreferencesWindow::Hooks& SharedHooks() {
    static KVPreferencesWindow::Hooks hooks;
    return hooks;
}

// The number before the first space of a size title: "22 px" gives 22.
double PointSizeOfTitle(std::string_view title) {
    const std::string_view number = title.substr(0, title.find(' '));
    int size = 0;
    std::from_chars(number.data(), number.data() + number.size(), size);
    return size;
}

}  // namespace

KVPreferencesWindow& KVPreferencesWindow::sharedWindow() {
    // A function-local static is made once even when first calls race.
    static KVPreferencesWindow window(SharedHooks());
    return window;
}

void KVPreferencesWindow::prepareSharedWindow(Hooks hooks) {
    SharedHooks() = std::move(hooks);
}

KVPreferencesWindow::KVPreferencesWindow(Hooks hooks) : _openWords(std::move(hooks.openWords)) {
    // The controls hold the stored values from the start, so a body built now shows sane ones.
    loadSettings();
    if (hooks.makeBody) {
        _body = hooks.makeBody(*this);
        changed();
    }
}

void KVPreferencesWindow::showWindow() {
    loadSettings();
    _visible = true;
    if (_body) {
        _body->orderFront();
    }
}

void KVPreferencesWindow::loadSettings() {
    _loadingSettings = true;
    const SettingsWindowSettings stored = KVReadSettingsWindowSettings(standardUserDefaults());
    _controls.capsRadio = stored.capsLockToggle;
    _controls.shiftRadio = !_controls.capsRadio;
    _controls.persistentToolbar = stored.persistentToolbar;
    _controls.followMode = static_cast<std::size_t>(stored.toolbarFollowMode);
    _controls.letterSelection = stored.letterSelection;
    _controls.scriptMode = stored.simplifiedOutput ? 1 : 0;
    _controls.theme = static_cast<std::size_t>(stored.themePreset);
    _controls.colorWells = stored.colors;
    _controls.fontSize = stored.fontSizeIndex;
    _loadingSettings = false;
    updatePreview(PreviewSender::None);
}

void KVPreferencesWindow::toggleRadio(ToggleRadio sender) {
    _controls.capsRadio = sender == ToggleRadio::CapsLock;
    _controls.shiftRadio = sender == ToggleRadio::Shift;
    changed();
}

void KVPreferencesWindow::setPersistentToolbar(bool on) {
    _controls.persistentToolbar = on;
}

void KVPreferencesWindow::selectFollowMode(std::size_t index) {
    if (index < 3) {
        _controls.followMode = index;
    }
}

void KVPreferencesWindow::setLetterSelection(bool on) {
    _controls.letterSelection = on;
}

void KVPreferencesWindow::selectScriptMode(std::size_t index) {
    if (index < 2) {
        _controls.scriptMode = index;
    }
}

void KVPreferencesWindow::selectTheme(std::size_t index) {
    if (index < KVThemePresetCount) {
        _controls.theme = index;
        updatePreview(PreviewSender::Theme);
    }
}

void KVPreferencesWindow::selectFontSize(std::size_t index) {
    if (index < KVFontSizeValues.size()) {
        _controls.fontSize = index;
        updatePreview(PreviewSender::FontSize);
    }
}

void KVPreferencesWindow::pickColor(std::size_t well, const Color& color) {
    if (well < KVThemeColorCount) {
        _controls.colorWells[well] = color;
        updatePreview(PreviewSender::ColorWell);
    }
}

void KVPreferencesWindow::updatePreview(PreviewSender sender) {
    if (sender == PreviewSender::Theme && !_loadingSettings) {
        // Picking a preset discards colours picked by hand.
        _controls.colorWells = KVPreferenceThemes()[_controls.theme];
    }
    const ThemeColors& wells = _controls.colorWells;
    _preview.background = wells[ThemeBackgroundIndex];
    _preview.border = wells[ThemeBorderIndex];
    _preview.firstText = wells[ThemeSelectedTextIndex];
    _preview.firstBackground = wells[ThemeSelectionIndex];
    _preview.secondText = wells[ThemeTextIndex];
    _preview.font = Font::system(PointSizeOfTitle(KVFontSizeTitles[_controls.fontSize]));
    changed();
}

void KVPreferencesWindow::save() {
    const DefaultsWriteProblem problem = KVWriteSettingsWindowSettings({
        .capsLockToggle = _controls.capsRadio,
        .persistentToolbar = _controls.persistentToolbar,
        .toolbarFollowMode = static_cast<std::int64_t>(_controls.followMode),
        .letterSelection = _controls.letterSelection,
        .simplifiedOutput = _controls.scriptMode == 1,
        .themePreset = static_cast<std::int64_t>(_controls.theme),
        .colors = _controls.colorWells,
        .fontSizeIndex = _controls.fontSize,
    });
    // The new values are in force for this session either way.
    defaultCenter().postNotificationName(KVSettingsDidChangeNotification);
    if (problem) {
        // The window stays open, telling why, so the user can free the disk and save again.
        KVReportUnsavedSettings(*problem);
        _saveProblem = std::string(kCannotSave) + *problem;
        changed();
        return;
    }
    if (!_saveProblem.empty()) {
        _saveProblem.clear();
        changed();
    }
    _visible = false;
    if (_body) {
        _body->orderOut();
    }
}

void KVPreferencesWindow::openWords() {
    if (_openWords) {
        _openWords();
    }
}

void KVPreferencesWindow::windowWillClose() {
    if (!_saveProblem.empty()) {
        _saveProblem.clear();
        changed();
    }
    _visible = false;
    if (_body) {
        _body->orderOut();
    }
}

void KVPreferencesWindow::changed() {
    if (_body) {
        _body->windowDidChange(*this);
    }
}

}  // namespace kv
