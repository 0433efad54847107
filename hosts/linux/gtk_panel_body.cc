// SPDX-License-Identifier: MIT
#include "hosts/linux/gtk_panel_body.h"

#include <algorithm>
#include <cmath>

#include "platform/linux/cairo_image_canvas.h"
#include "platform/linux/gdk_screens.h"

namespace kv {

namespace {

// The corner of a resizable panel that resizes it, in points.
constexpr double kResizeGrip = 14;

class HiddenPanelBody final : public PanelBody {
  public:
    void panelDidChange(const Panel&) override {}
};

int Points(double value) {
    return std::max(1, static_cast<int>(std::lround(value)));
}

}  // namespace

GtkPanelBody::GtkPanelBody(Panel& panel) : _panel(panel) {}

GtkPanelBody::~GtkPanelBody() {
    if (_window != nullptr) {
        gtk_widget_destroy(_window);
    }
}

void GtkPanelBody::createWindow() {
    const bool userPlaced = _panel.resizable;
    _window = gtk_window_new(userPlaced ? GTK_WINDOW_TOPLEVEL : GTK_WINDOW_POPUP);
    GtkWindow* const window = GTK_WINDOW(_window);
    gtk_window_set_accept_focus(window, FALSE);
    gtk_window_set_focus_on_map(window, FALSE);
    gtk_window_set_decorated(window, FALSE);
    gtk_window_set_skip_taskbar_hint(window, TRUE);
    gtk_window_set_skip_pager_hint(window, TRUE);
    gtk_window_set_keep_above(window, TRUE);
    gtk_window_set_title(window, "CQInputKV");
    if (userPlaced) {
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
        gtk_window_set_resizable(window, TRUE);
        GdkGeometry hints{};
        hints.min_width = Points(_panel.minSize.width);
        hints.min_height = Points(_panel.minSize.height);
        gtk_window_set_geometry_hints(window, nullptr, &hints, GDK_HINT_MIN_SIZE);
    }
    _area = gtk_drawing_area_new();
    gtk_widget_add_events(
        _area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
    gtk_container_add(GTK_CONTAINER(_window), _area);
    g_signal_connect(_area, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t* cr, gpointer self) {
                         return static_cast<GtkPanelBody*>(self)->draw(cr);
                     }),
                     this);
    g_signal_connect(_area, "button-press-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventButton* event, gpointer self) {
                         return static_cast<GtkPanelBody*>(self)->buttonPress(*event);
                     }),
                     this);
    g_signal_connect(_area, "motion-notify-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventMotion* event, gpointer self) {
                         return static_cast<GtkPanelBody*>(self)->motion(*event);
                     }),
                     this);
    g_signal_connect(_area, "button-release-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventButton*, gpointer self) {
                         return static_cast<GtkPanelBody*>(self)->buttonRelease();
                     }),
                     this);
    g_signal_connect(_window, "configure-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventConfigure* event, gpointer self) {
                         return static_cast<GtkPanelBody*>(self)->configure(*event);
                     }),
                     this);
    // Closing by the window manager hides, as the panel's own close box does.
    g_signal_connect(_window, "delete-event", G_CALLBACK(gtk_widget_hide_on_delete), nullptr);
    gtk_widget_show(_area);
}

void GtkPanelBody::panelDidChange(const Panel& panel) {
    if (!panel.isVisible()) {
        if (_window != nullptr) {
            gtk_widget_hide(_window);
        }
        return;
    }
    if (_window == nullptr) {
        createWindow();
    }
    place();
    gtk_widget_show(_window);
    gtk_widget_queue_draw(_area);
}

void GtkPanelBody::place() {
    const Rect root = FlipRootRect(_panel.frame(), RootHeight());
    _placing = true;
    gtk_widget_set_size_request(_area, Points(root.width()), Points(root.height()));
    gtk_window_resize(GTK_WINDOW(_window), Points(root.width()), Points(root.height()));
    gtk_window_move(GTK_WINDOW(_window), static_cast<int>(std::lround(root.minX())),
                    static_cast<int>(std::lround(root.minY())));
    _placing = false;
}

gboolean GtkPanelBody::draw(cairo_t* cr) {
    if (_panel.content == nullptr) {
        return TRUE;
    }
    const Size size = _panel.frame().size;
    const double scale = gtk_widget_get_scale_factor(_area);
    CairoImageCanvas canvas(size, scale);
    const Rect bounds({0, 0}, size);
    if (_panel.backgroundColor.alpha > 0) {
        canvas.fillRect(bounds, _panel.backgroundColor);
    }
    _panel.content->draw(canvas, bounds);
    cairo_surface_set_device_scale(canvas.surface(), scale, scale);
    cairo_set_source_surface(cr, canvas.surface(), 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    return TRUE;
}

gboolean GtkPanelBody::buttonPress(const GdkEventButton& event) {
    if (event.button != 1 || event.type != GDK_BUTTON_PRESS) {
        return TRUE;
    }
    const Size size = _panel.frame().size;
    _dragStartX = event.x_root;
    _dragStartY = event.y_root;
    _dragStartFrame = _panel.frame();
    if (_panel.resizable && event.x >= size.width - kResizeGrip &&
        event.y >= size.height - kResizeGrip) {
        _drag = Drag::Resize;
        return TRUE;
    }
    // Points count from the bottom-left corner, GTK from the top-left.
    const bool drags =
        _panel.content != nullptr && _panel.content->mouseDown({event.x, size.height - event.y});
    _drag = drags ? Drag::Move : Drag::None;
    return TRUE;
}

gboolean GtkPanelBody::motion(const GdkEventMotion& event) {
    const double dx = event.x_root - _dragStartX;
    const double dy = event.y_root - _dragStartY;  // downward
    if (_drag == Drag::Move) {
        _panel.userDidMove({_dragStartFrame.minX() + dx, _dragStartFrame.minY() - dy});
    } else if (_drag == Drag::Resize) {
        // The top-left corner stays where it is while the bottom-right one follows the pointer.
        const Size size{std::max(_dragStartFrame.width() + dx, _panel.minSize.width),
                        std::max(_dragStartFrame.height() + dy, _panel.minSize.height)};
        _panel.userDidResize(size);
    }
    return TRUE;
}

gboolean GtkPanelBody::buttonRelease() {
    _drag = Drag::None;
    return TRUE;
}

gboolean GtkPanelBody::configure(const GdkEventConfigure& event) {
    if (_placing || !_panel.resizable || !_panel.isVisible()) {
        return FALSE;
    }
    // A window manager moved or resized the utility window.
    const Rect root(event.x, event.y, event.width, event.height);
    const Rect frame = FlipRootRect(root, RootHeight());
    if (std::abs(frame.width() - _panel.frame().width()) >= 1 ||
        std::abs(frame.height() - _panel.frame().height()) >= 1) {
        _panel.userDidResize(frame.size);
    } else if (std::abs(frame.minX() - _panel.frame().minX()) >= 1 ||
               std::abs(frame.minY() - _panel.frame().minY()) >= 1) {
        _panel.userDidMove(frame.origin);
    }
    return FALSE;
}

std::unique_ptr<PanelBody> GtkPanelBodies::makeBody(Panel& panel) {
    if (gdk_display_get_default() == nullptr) {
        return std::make_unique<HiddenPanelBody>();
    }
    return std::make_unique<GtkPanelBody>(panel);
}

}  // namespace kv
