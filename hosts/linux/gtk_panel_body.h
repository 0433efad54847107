// SPDX-License-Identifier: MIT
// Panels on screen as GTK3 windows that never take the keyboard focus: a fixed panel (the
// candidate list) is an override-redirect popup placed by the program; a resizable one (the
// on-screen keyboard) is a utility window the user moves and resizes, by dragging it or through
// the window manager.
// Both are painted from the panel's records at their monitor's scale, with a transparent visual
// where the screen composites windows.
#pragma once

#include <gtk/gtk.h>

#include <memory>

#include "hosts/linux/gtk_panel_accessible.h"
#include "platform/panel.h"
#include "platform/services.h"

namespace kv {

class GtkPanelBody final : public PanelBody {
  public:
    explicit GtkPanelBody(Panel& panel);
    ~GtkPanelBody() override;
    GtkPanelBody(const GtkPanelBody&) = delete;
    GtkPanelBody& operator=(const GtkPanelBody&) = delete;

    void panelDidChange(const Panel& panel) override;

    // The window, once the panel was first shown; for tests.
    GtkWidget* window() const { return _window; }

  private:
    // What the pointer does between a press and its release.
    enum class Press { None, MovesPanel, ResizesPanel, InContent };

    void createWindow();
    void connectSignals();
    void place();
    void compositingChanged();
    // The panel hears of the window's frame as the window manager left it.
    void report(const Rect& frame);
    void syncFromWindow();
    Point pointInPanel(double x, double y) const;
    gboolean draw(cairo_t* cr);
    gboolean buttonPress(const GdkEventButton& event);
    gboolean motion(const GdkEventMotion& event);
    gboolean buttonRelease(const GdkEventButton& event);
    gboolean scroll(const GdkEventScroll& event);
    gboolean configure(const GdkEventConfigure& event);
    gboolean queryTooltip(int x, int y, GtkTooltip* tooltip) const;
    void destroyWindow();
    // The parts a screen reader reads follow the panel's records.
    void updateAccessibility();

    Panel& _panel;
    GtkWidget* _window = nullptr;
    GtkWidget* _area = nullptr;
    std::unique_ptr<GtkPanelAccessibility> _accessibility;  // while the window lives
    gulong _compositingHandler = 0;
    Press _press = Press::None;
    double _pressX = 0;  // root coordinates of the press
    double _pressY = 0;
    Rect _pressFrame;
    // Where the window is, as last placed by the program or reported by the window manager.
    Rect _windowFrame;
    bool _reporting = false;  // the panel hears of the window's own change: nothing to place
};

// Makes a GTK body for every panel; without a display, bodies that show nothing.
class GtkPanelBodies final : public PanelBodies {
  public:
    std::unique_ptr<PanelBody> makeBody(Panel& panel) override;
};

}  // namespace kv
