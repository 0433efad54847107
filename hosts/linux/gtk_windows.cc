// SPDX-License-Identifier: MIT
#include "hosts/linux/gtk_windows.h"

#include <gtk/gtk.h>

#include <memory>
#include <optional>
#include <string>

#include "hosts/linux/gtk_preferences_window.h"
#include "hosts/linux/gtk_window_support.h"
#include "hosts/linux/gtk_words_window.h"

namespace kv {

namespace {

constexpr const char* kBackendVariable = "GDK_BACKEND";

// How long a window may take to appear before a picture of it is given up.
constexpr gint64 kAppearWithin = gint64{10} * G_USEC_PER_SEC;

gboolean NoteDrawn(GtkWidget*, cairo_t*, gpointer drawn) {
    *static_cast<bool*>(drawn) = true;
    return FALSE;
}

// Runs the main loop until `window` has been painted and no event is left.
bool WaitUntilDrawn(GtkWidget* window) {
    bool drawn = false;
    const gulong handler = g_signal_connect_after(window, "draw", G_CALLBACK(NoteDrawn), &drawn);
    gtk_widget_queue_draw(window);
    const gint64 deadline = g_get_monotonic_time() + kAppearWithin;
    while (g_get_monotonic_time() < deadline) {
        if (g_main_context_iteration(nullptr, FALSE)) {
            continue;
        }
        if (drawn) {
            break;
        }
        g_usleep(5000);
    }
    g_signal_handler_disconnect(window, handler);
    gdk_display_sync(gtk_widget_get_display(window));
    return drawn;
}

bool Capture(GtkWidget* window, GtkWidget* content, const std::filesystem::path& png,
             std::string& error) {
    if (!WaitUntilDrawn(window)) {
        error = "the window did not appear on the display";
        return false;
    }
    GtkAllocation area;
    gtk_widget_get_allocation(content, &area);
    GdkPixbuf* pixels = gdk_pixbuf_get_from_window(gtk_widget_get_window(content), area.x, area.y,
                                                   area.width, area.height);
    if (pixels == nullptr) {
        error = "the window's pixels cannot be read from the display";
        return false;
    }
    GError* failure = nullptr;
    const bool saved = gdk_pixbuf_save(pixels, png.c_str(), "png", &failure, nullptr);
    g_object_unref(pixels);
    if (!saved) {
        error = "cannot write " + png.string() + ": " + (failure ? failure->message : "");
        g_clear_error(&failure);
    }
    return saved;
}

}  // namespace

bool KVStartGtkWindows() {
    // The windows live on X11, through XWayland in a Wayland session: only there can a window
    // be put where the program wants it and be shown without taking the focus from the
    // application being typed into (a Wayland compositor gives a click on a client's window the
    // keyboard focus, which would end the session the keyboard types into). A session's
    // GDK_BACKEND=wayland is set aside for that, and kept for the programs the engine starts.
    const char* const chosen = g_getenv(kBackendVariable);
    const std::optional<std::string> sessionBackend =
        chosen != nullptr ? std::optional<std::string>(chosen) : std::nullopt;
    g_unsetenv(kBackendVariable);
    gdk_set_allowed_backends("x11");
    const bool started = gtk_init_check(nullptr, nullptr);
    if (sessionBackend) {
        g_setenv(kBackendVariable, sessionBackend->c_str(), TRUE);
    }
    if (started) {
        GtkTakeKeysDirectlyInEveryField();
    }
    return started;
}

KVPreferencesWindow::BodyMaker KVGtkPreferencesWindowMaker() {
    return [](KVPreferencesWindow& logic) -> std::unique_ptr<PreferencesWindowBody> {
        return std::make_unique<GtkPreferencesWindow>(logic);
    };
}

KVWordsWindow::BodyMaker KVGtkWordsWindowMaker() {
    return [](KVWordsWindow& logic) -> std::unique_ptr<WordsWindowBody> {
        return std::make_unique<GtkWordsWindow>(logic);
    };
}

bool KVWriteWindowPNG(const PreferencesWindowBody* body, const std::filesystem::path& png,
                      std::string& error) {
    const auto* gtkBody = dynamic_cast<const GtkPreferencesWindow*>(body);
    if (gtkBody == nullptr) {
        error = "the settings window has no window on the display";
        return false;
    }
    return Capture(gtkBody->window(), gtkBody->content(), png, error);
}

bool KVResizeWindow(const WordsWindowBody* body, Size size) {
    const auto* gtkBody = dynamic_cast<const GtkWordsWindow*>(body);
    if (gtkBody == nullptr) {
        return false;
    }
    gtk_window_resize(GTK_WINDOW(gtkBody->window()), static_cast<gint>(size.width),
                      static_cast<gint>(size.height));
    return true;
}

bool KVWriteWindowPNG(const WordsWindowBody* body, const std::filesystem::path& png,
                      std::string& error) {
    const auto* gtkBody = dynamic_cast<const GtkWordsWindow*>(body);
    if (gtkBody == nullptr) {
        error = "the words window has no window on the display";
        return false;
    }
    return Capture(gtkBody->window(), gtkBody->content(), png, error);
}

}  // namespace kv
