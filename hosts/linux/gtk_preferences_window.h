// SPDX-License-Identifier: MIT
// The settings window on screen: GTK controls at the window's frames, filled from
// KVPreferencesWindow and forwarding every change back to it.
#pragma once

#include <gtk/gtk.h>

#include <array>
#include <cstddef>
#include <string_view>

#include "platform/geometry.h"
#include "settings/preferences_window.h"

namespace kv {

class GtkPreferencesWindow final : public PreferencesWindowBody {
  public:
    // Builds every control once; the window stays hidden until orderFront.
    explicit GtkPreferencesWindow(KVPreferencesWindow& logic);
    ~GtkPreferencesWindow() override;
    GtkPreferencesWindow(const GtkPreferencesWindow&) = delete;
    GtkPreferencesWindow& operator=(const GtkPreferencesWindow&) = delete;

    void windowDidChange(const KVPreferencesWindow& window) override;
    void orderFront() override;
    void orderOut() override;

    GtkWidget* window() const { return _window; }
    GtkWidget* content() const { return GTK_WIDGET(_content); }

  private:
    void buildHeader();
    void buildBehaviourBox();
    void buildAppearanceBox();
    void buildFooter();
    // Puts a control of a group at its frame in the group's content area.
    void placeInBox(GtkWidget* widget, const Rect& box, const Rect& frame);
    GtkWidget* addLabel(const Rect& box, const Rect& frame, std::string_view text);
    GtkWidget* addPopUp(const Rect& box, const Rect& frame, const std::string_view* titles,
                        std::size_t count);

    static gboolean Draw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean DeleteEvent(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean KeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static void Toggled(GtkToggleButton* button, gpointer self);
    static void PopUpChanged(GtkComboBox* box, gpointer self);
    static void ColorSet(GtkColorButton* button, gpointer self);
    static void SaveClicked(GtkButton* button, gpointer self);
    static void WordsClicked(GtkButton* button, gpointer self);

    KVPreferencesWindow& _logic;
    bool _filling = false;
    PreferencesPreview _shownPreview;
    GtkWidget* _window = nullptr;
    GtkFixed* _content = nullptr;
    GtkWidget* _capsRadio = nullptr;
    GtkWidget* _shiftRadio = nullptr;
    GtkWidget* _persistentToolbar = nullptr;
    GtkWidget* _followMode = nullptr;
    GtkWidget* _letterSelection = nullptr;
    GtkWidget* _scriptMode = nullptr;
    GtkWidget* _theme = nullptr;
    GtkWidget* _fontSize = nullptr;
    GtkWidget* _preview = nullptr;
    GtkWidget* _footnote = nullptr;
    std::array<GtkWidget*, KVThemeColorCount> _colorWells{};
};

}  // namespace kv
