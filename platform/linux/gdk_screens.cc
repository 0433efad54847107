// SPDX-License-Identifier: MIT
#include "platform/linux/gdk_screens.h"

#include <gdk/gdk.h>

#include <algorithm>

namespace kv {

namespace {

Rect RectOf(const GdkRectangle& r) {
    return Rect(r.x, r.y, r.width, r.height);
}

Screen ScreenOf(GdkMonitor* monitor, double rootHeight) {
    GdkRectangle geometry;
    GdkRectangle workArea;
    gdk_monitor_get_geometry(monitor, &geometry);
    gdk_monitor_get_workarea(monitor, &workArea);
    return Screen{FlipRootRect(RectOf(geometry), rootHeight),
                  FlipRootRect(RectOf(workArea), rootHeight)};
}

}  // namespace

double RootHeight() {
    GdkDisplay* const display = gdk_display_get_default();
    if (display == nullptr) {
        return 0;
    }
    double bottom = 0;
    for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
        GdkRectangle geometry;
        gdk_monitor_get_geometry(gdk_display_get_monitor(display, i), &geometry);
        bottom = std::max(bottom, static_cast<double>(geometry.y + geometry.height));
    }
    return bottom;
}

Rect FlipRootRect(const Rect& rect, double rootHeight) {
    return Rect(rect.minX(), rootHeight - rect.minY() - rect.height(), rect.width(), rect.height());
}

std::vector<Screen> GdkScreens::screens() const {
    std::vector<Screen> result;
    GdkDisplay* const display = gdk_display_get_default();
    if (display == nullptr) {
        return result;
    }
    const double rootHeight = RootHeight();
    for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
        result.push_back(ScreenOf(gdk_display_get_monitor(display, i), rootHeight));
    }
    return result;
}

std::optional<Screen> GdkScreens::mainScreen() const {
    GdkDisplay* const display = gdk_display_get_default();
    if (display == nullptr || gdk_display_get_n_monitors(display) == 0) {
        return std::nullopt;
    }
    GdkMonitor* monitor = nullptr;
    GdkSeat* const seat = gdk_display_get_default_seat(display);
    GdkDevice* const pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
    if (pointer != nullptr) {
        int x = 0;
        int y = 0;
        gdk_device_get_position(pointer, nullptr, &x, &y);
        monitor = gdk_display_get_monitor_at_point(display, x, y);
    }
    if (monitor == nullptr) {
        monitor = gdk_display_get_primary_monitor(display);
    }
    if (monitor == nullptr) {
        monitor = gdk_display_get_monitor(display, 0);
    }
    return ScreenOf(monitor, RootHeight());
}

}  // namespace kv
