// SPDX-License-Identifier: MIT
// Panels on screen as GTK3 windows that never take the keyboard focus: a fixed panel (the
// candidate list) is an override-redirect popup placed by the program; a resizable one (the
// on-screen keyboard) is a utility window the user moves and resizes. Both are painted from the
// panel's records at their monitor's scale.
#pragma once

#include <gtk/gtk.h>

#include <memory>

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
    enum class Drag { None, Move, Resize };

    void createWindow();
    void place();
    gboolean draw(cairo_t* cr);
    gboolean buttonPress(const GdkEventButton& event);
    gboolean motion(const GdkEventMotion& event);
    gboolean buttonRelease();
    gboolean configure(const GdkEventConfigure& event);

    Panel& _panel;
    GtkWidget* _window = nullptr;
    GtkWidget* _area = nullptr;
    Drag _drag = Drag::None;
    double _dragStartX = 0;  // root coordinates of the press
    double _dragStartY = 0;
    Rect _dragStartFrame;
    bool _placing = false;  // our own moves are no moves by the user
};

// Makes a GTK body for every panel; without a display, bodies that show nothing.
class GtkPanelBodies final : public PanelBodies {
  public:
    std::unique_ptr<PanelBody> makeBody(Panel& panel) override;
};

}  // namespace kv
