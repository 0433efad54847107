// SPDX-License-Identifier: MIT
// What the two GTK windows share: placing a control at a frame given from the bottom-left,
// labels with the window's fonts, the styles of the program's windows, and colour conversion.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <string_view>

#include "platform/color.h"
#include "platform/geometry.h"

namespace kv {

// The style classes the program's stylesheet knows.
inline constexpr const char* kWindowStyleClass = "kv-window";
inline constexpr const char* kHeaderStyleClass = "kv-header";
inline constexpr const char* kGroupTitleStyleClass = "kv-group-title";

// Loads the program's stylesheet for its windows, once per process.
void GtkInstallWindowStyles();

// A top-level window with the program's style, titled, not shown.
GtkWidget* GtkMakeWindow(std::string_view title);

// Makes every text field of the process take keys directly, with GTK's simple input context:
// the fields of the program's windows, a list's search field and the colour chooser's alike. The
// windows run in the engine's own process: through the desktop's input method
// (GTK_IM_MODULE=ibus) a key would go out to the daemon and back into the same single-threaded
// engine, and a code typed into the words window would come out composed.
void GtkTakeKeysDirectlyInEveryField();

// Puts `widget` into `fixed` at `frame`, which counts from the bottom-left of an area
// `areaHeight` high; the widget is asked to take exactly the frame's size.
void GtkPlace(GtkFixed* fixed, GtkWidget* widget, const Rect& frame, double areaHeight);

// The text of a label in a given size in points (one point one pixel), weight and colour.
struct LabelStyle {
    double size = 0;  // 0: the window's own
    PangoWeight weight = PANGO_WEIGHT_NORMAL;
    bool monospace = false;
    bool secondary = false;  // the secondary label colour
    bool centred = false;
    PangoEllipsizeMode cut = PANGO_ELLIPSIZE_END;  // where a text too long is cut
};

// A non-editable single-line label that clips at its frame's right edge.
GtkWidget* GtkMakeLabel(std::string_view text, const LabelStyle& style = {});

// Makes `label` the one a screen reader names `field` by when it takes the focus: the two are
// related (label-for, labelled-by) and the field is named with the label's text.
void GtkAttachLabel(GtkWidget* label, GtkWidget* field);

GdkRGBA GtkRGBA(const Color& color);
Color GtkColor(const GdkRGBA& rgba);

std::string GtkText(std::string_view text);

}  // namespace kv
