// SPDX-License-Identifier: MIT
// A painted panel as accessibility objects (ATK, which GTK's bridge shows through AT-SPI): the
// drawing area's accessible has one child per part the panel's owner describes, with the parts'
// roles, names, places on screen, the selected item of a list and a press action. Each change
// of the parts goes out as the events a screen reader listens for: a name changed, an item
// selected or no longer, a list's selection changed, children added or removed.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <vector>

#include "platform/accessible_element.h"

namespace kv {

// A drawing area whose accessible object shows the parts of the GtkPanelAccessibility made for it.
GtkWidget* NewAccessibleDrawingArea();

class GtkPanelAccessibility {
  public:
    struct Node;

    // `area` was made by NewAccessibleDrawingArea and outlives this object.
    explicit GtkPanelAccessibility(GtkWidget* area);
    ~GtkPanelAccessibility();
    GtkPanelAccessibility(const GtkPanelAccessibility&) = delete;
    GtkPanelAccessibility& operator=(const GtkPanelAccessibility&) = delete;

    // The parts as they are now, in content coordinates of a panel `height` points high.
    void update(const std::vector<AccessibleElement>& parts, double height);
    // The innermost part with a tooltip under a point in the area's coordinates (y downward).
    const AccessibleElement* tooltipPartAt(double x, double y) const;

    // For the accessible objects.
    GtkWidget* area() const { return _area; }
    double height() const { return _height; }
    const std::vector<std::unique_ptr<Node>>& parts() const { return _parts; }

  private:
    GtkWidget* _area;
    AtkObject* _root;  // the area's accessible, held while this object lives
    std::vector<std::unique_ptr<Node>> _parts;
    double _height = 0;
};

}  // namespace kv
