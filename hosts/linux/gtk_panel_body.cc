// SPDX-License-Identifier: MIT
#include "hosts/linux/gtk_panel_body.h"

#include <algorithm>
#include <cmath>

#include "platform/linux/cairo_image_canvas.h"
#include "platform/linux/gdk_screens.h"

namespace kv {

namespace {

class HiddenPanelBody final : public PanelBody {
  public:
    void panelDidChange(const Panel&) override {}
};

int Points(double value) {
    return std::max(1, static_cast<int>(std::lround(value)));
}

// Window geometry comes in whole pixels: a fraction of a point is no difference.
bool Differs(const Rect& a, const Rect& b) {
    return std::abs(a.minX() - b.minX()) >= 1 || std::abs(a.minY() - b.minY()) >= 1 ||
           std::abs(a.width() - b.width()) >= 1 || std::abs(a.height() - b.height()) >= 1;
}

bool ScreenComposites() {
    GdkScreen* const screen = gdk_screen_get_default();
    return screen != nullptr && gdk_screen_is_composited(screen) &&
           gdk_screen_get_rgba_visual(screen) != nullptr;
}

}  // namespace

GtkPanelBody::GtkPanelBody(Panel& panel) : _panel(panel) {
    _panel.screenComposites = ScreenComposites();
    if (GdkScreen* const screen = gdk_screen_get_default()) {
        _compositingHandler = g_signal_connect(
            screen, "composited-changed", G_CALLBACK(+[](GdkScreen*, gpointer self) {
                static_cast<GtkPanelBody*>(self)->compositingChanged();
            }),
            this);
    }
}

GtkPanelBody::~GtkPanelBody() {
    if (_compositingHandler != 0) {
        g_signal_handler_disconnect(gdk_screen_get_default(), _compositingHandler);
    }
    destroyWindow();
}

void GtkPanelBody::destroyWindow() {
    if (_window == nullptr) {
        return;
    }
    _accessibility.reset();
    gtk_widget_destroy(_window);
    _window = nullptr;
    _area = nullptr;
}

void GtkPanelBody::compositingChanged() {
    _panel.screenComposites = ScreenComposites();
    // A window keeps the visual it was made with: it is made anew, and shown if the panel is.
    if (_window != nullptr) {
        destroyWindow();
        panelDidChange(_panel);
    }
}

void GtkPanelBody::createWindow() {
    const bool userPlaced = _panel.resizable;
    _window = gtk_window_new(userPlaced ? GTK_WINDOW_TOPLEVEL : GTK_WINDOW_POPUP);
    GtkWindow* const window = GTK_WINDOW(_window);
    if (_panel.screenComposites) {
        // Clear pixels outside the drawn shape show the desktop below.
        gtk_widget_set_visual(_window, gdk_screen_get_rgba_visual(gdk_screen_get_default()));
        gtk_widget_set_app_paintable(_window, TRUE);
    }
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
    _area = NewAccessibleDrawingArea();
    _accessibility = std::make_unique<GtkPanelAccessibility>(_area);
    // The tooltips say in words what the toolbar's symbols do.
    gtk_widget_set_has_tooltip(_area, TRUE);
    gtk_widget_add_events(_area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                     GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK |
                                     GDK_SMOOTH_SCROLL_MASK);
    gtk_container_add(GTK_CONTAINER(_window), _area);
    connectSignals();
    // Closing by the window manager hides, as the panel's own close box does.
    g_signal_connect(_window, "delete-event", G_CALLBACK(gtk_widget_hide_on_delete), nullptr);
    gtk_widget_show(_area);
}

// The handlers reach the body through the signal's data; the window goes before the body.
void GtkPanelBody::connectSignals() {
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
                     G_CALLBACK(+[](GtkWidget*, GdkEventButton* event, gpointer self) {
                         return static_cast<GtkPanelBody*>(self)->buttonRelease(*event);
                     }),
                     this);
    g_signal_connect(_area, "scroll-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventScroll* event, gpointer self) {
                         return static_cast<GtkPanelBody*>(self)->scroll(*event);
                     }),
                     this);
    g_signal_connect(
        _area, "query-tooltip",
        G_CALLBACK(+[](GtkWidget*, int x, int y, gboolean, GtkTooltip* tooltip, gpointer self) {
            return static_cast<GtkPanelBody*>(self)->queryTooltip(x, y, tooltip);
        }),
        this);
    g_signal_connect(_window, "configure-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventConfigure* event, gpointer self) {
                         return static_cast<GtkPanelBody*>(self)->configure(*event);
                     }),
                     this);
}

void GtkPanelBody::panelDidChange(const Panel& panel) {
    if (!panel.isVisible()) {
        if (_window != nullptr) {
            // Shown again, the window comes back where it was when it went.
            if (!_reporting) {
                syncFromWindow();
            }
            gtk_widget_hide(_window);
            updateAccessibility();
        }
        return;
    }
    if (_window == nullptr) {
        createWindow();
    }
    // A window on screen stays where it is unless the program moved the panel: moving it back
    // to an older record would fight the window manager, or the user it moves it for.
    if (!_reporting &&
        (!gtk_widget_get_visible(_window) || Differs(_panel.frame(), _windowFrame))) {
        place();
    }
    gtk_widget_show(_window);
    gtk_widget_queue_draw(_area);
    updateAccessibility();
}

void GtkPanelBody::updateAccessibility() {
    if (_accessibility == nullptr) {
        return;
    }
    std::vector<AccessibleElement> parts;
    if (_panel.accessibleElements) {
        parts = _panel.accessibleElements();
    }
    _accessibility->update(parts, _panel.frame().height());
}

gboolean GtkPanelBody::queryTooltip(int x, int y, GtkTooltip* tooltip) const {
    const AccessibleElement* const part =
        _accessibility != nullptr ? _accessibility->tooltipPartAt(x, y) : nullptr;
    if (part == nullptr) {
        return FALSE;
    }
    gtk_tooltip_set_text(tooltip, part->tooltip.c_str());
    const Rect& frame = part->frame;
    const GdkRectangle area{static_cast<int>(frame.minX()),
                            static_cast<int>(_panel.frame().height() - frame.maxY()),
                            static_cast<int>(frame.width()), static_cast<int>(frame.height())};
    gtk_tooltip_set_tip_area(tooltip, &area);
    return TRUE;
}

void GtkPanelBody::place() {
    _windowFrame = _panel.frame();
    const Rect root = FlipRootRect(_windowFrame, RootHeight());
    if (!_panel.resizable) {
        gtk_widget_set_size_request(_area, Points(root.width()), Points(root.height()));
    }
    gtk_window_resize(GTK_WINDOW(_window), Points(root.width()), Points(root.height()));
    gtk_window_move(GTK_WINDOW(_window), static_cast<int>(std::lround(root.minX())),
                    static_cast<int>(std::lround(root.minY())));
}

Point GtkPanelBody::pointInPanel(double x, double y) const {
    // Points count from the bottom-left corner, GTK from the top-left.
    return {x, _panel.frame().height() - y};
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
    if (event.button != 1 || event.type != GDK_BUTTON_PRESS || _panel.content == nullptr) {
        return TRUE;
    }
    syncFromWindow();
    const Point point = pointInPanel(event.x, event.y);
    _pressX = event.x_root;
    _pressY = event.y_root;
    _pressFrame = _panel.frame();
    // The panel follows the pointer itself rather than through the window manager's move and
    // resize: those grab the keyboard, which takes the focus from the application being typed
    // into and so hides the keyboard at the first press on it.
    if (_panel.resizable && _panel.content->resizesAt(point)) {
        _press = Press::ResizesPanel;
    } else if (_panel.content->mouseDown(point)) {
        _press = Press::MovesPanel;
    } else {
        _press = Press::InContent;
    }
    return TRUE;
}

gboolean GtkPanelBody::motion(const GdkEventMotion& event) {
    const double dx = event.x_root - _pressX;
    const double dy = event.y_root - _pressY;  // downward
    if (_press == Press::MovesPanel) {
        _panel.userDidMove({_pressFrame.minX() + dx, _pressFrame.minY() - dy});
    } else if (_press == Press::ResizesPanel) {
        // The top-left corner stays where it is while the bottom-right one follows the pointer.
        _panel.userDidResize({_pressFrame.width() + dx, _pressFrame.height() + dy});
    } else if (_press == Press::InContent && _panel.content != nullptr) {
        _panel.content->mouseDragged(pointInPanel(event.x, event.y));
    }
    return TRUE;
}

gboolean GtkPanelBody::buttonRelease(const GdkEventButton& event) {
    if (_press == Press::InContent && _panel.content != nullptr) {
        _panel.content->mouseUp(pointInPanel(event.x, event.y));
    }
    _press = Press::None;
    return TRUE;
}

gboolean GtkPanelBody::scroll(const GdkEventScroll& event) {
    double deltaY = 0;
    if (event.direction == GDK_SCROLL_UP) {
        deltaY = -1;
    } else if (event.direction == GDK_SCROLL_DOWN) {
        deltaY = 1;
    } else if (event.direction == GDK_SCROLL_SMOOTH) {
        deltaY = event.delta_y;
    }
    if (deltaY != 0 && _panel.content != nullptr) {
        _panel.content->scrollWheel(pointInPanel(event.x, event.y), deltaY);
    }
    return TRUE;
}

gboolean GtkPanelBody::configure(const GdkEventConfigure& event) {
    // While the pointer moves or resizes the panel, the window follows the panel.
    if (!_panel.resizable || !_panel.isVisible() || _press == Press::MovesPanel ||
        _press == Press::ResizesPanel) {
        return FALSE;
    }
    // Where the window manager put the window, from whichever edge it was dragged, is where the
    // panel is: the record follows the window and the window is not moved back. The position an
    // event gives while the window manager frames a newly mapped window can be one it then leaves
    // without another event, so the place is asked again before it is used.
    const Rect frame =
        FlipRootRect(Rect(event.x, event.y, event.width, event.height), RootHeight());
    report(frame);
    return FALSE;
}

void GtkPanelBody::report(const Rect& frame) {
    _windowFrame = frame;
    if (Differs(frame, _panel.frame())) {
        _reporting = true;
        _panel.userDidSetFrame(frame);
        _reporting = false;
    }
}

void GtkPanelBody::syncFromWindow() {
    GdkWindow* const shown = _window != nullptr ? gtk_widget_get_window(_window) : nullptr;
    if (!_panel.resizable || shown == nullptr || !gtk_widget_get_mapped(_window)) {
        return;
    }
    // Asked of the X server: the window manager's last move may have come with no event.
    int x = 0;
    int y = 0;
    gdk_window_get_origin(shown, &x, &y);
    const Rect root(x, y, gdk_window_get_width(shown), gdk_window_get_height(shown));
    report(FlipRootRect(root, RootHeight()));
}

std::unique_ptr<PanelBody> GtkPanelBodies::makeBody(Panel& panel) {
    if (gdk_display_get_default() == nullptr) {
        return std::make_unique<HiddenPanelBody>();
    }
    return std::make_unique<GtkPanelBody>(panel);
}

}  // namespace kv
