// SPDX-License-Identifier: MIT
#include "hosts/linux/companion_service.h"

#include <gio/gio.h>
#include <glib-unix.h>

#include <charconv>
#include <csignal>
#include <string>
#include <string_view>

#include "controller/companion_interface.h"
#include "hosts/linux/panel_accessibility.h"
#include "keyboard/keyboard_window.h"
#include "platform/services.h"
#include "settings/settings_keys.h"

namespace kv {

namespace {

// How long the companion stays without a window on screen and without a call; the variable
// shortens it for tests (whole seconds).
constexpr gint64 kIdleSeconds = 60;
constexpr const char* kIdleVariable = "CQINPUTKV_COMPANION_IDLE";

// RequestName's answers that leave this process the owner of the name.
constexpr guint32 kPrimaryOwner = 1;
constexpr guint32 kAlreadyOwner = 4;

gint64 IdleLimitSeconds() {
    const char* const text = g_getenv(kIdleVariable);
    gint64 seconds = 0;
    if (text == nullptr) {
        return kIdleSeconds;
    }
    const std::string_view value(text);
    const auto [end, problem] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    return problem == std::errc() && end == value.data() + value.size() && seconds > 0
               ? seconds
               : kIdleSeconds;
}

std::string Introspection() {
    using namespace companion;
    std::string xml = "<node><interface name='" + std::string(kInterface) + "'>";
    for (const std::string_view method :
         {kShowSettings, kShowWords, kShowKeyboard, kHideKeyboard}) {
        xml += "<method name='" + std::string(method) + "'/>";
    }
    xml += "<signal name='" + std::string(kKeyPressed) + "'><arg type='s' name='token'/></signal>";
    for (const std::string_view signal : {kSettingsSaved, kWordsChanged, kKeyboardClosed}) {
        xml += "<signal name='" + std::string(signal) + "'/>";
    }
    return xml + "</interface></node>";
}

gint64 Now() {
    return g_get_monotonic_time() / G_USEC_PER_SEC;
}

class Companion {
  public:
    explicit Companion(GDBusConnection* connection)
        : _connection(connection), _idleLimit(IdleLimitSeconds()) {}
    ~Companion() {
        defaultCenter().removeObserver(this);
        if (_registration != 0) {
            g_dbus_connection_unregister_object(_connection, _registration);
        }
        g_main_loop_unref(_loop);
    }
    Companion(const Companion&) = delete;
    Companion& operator=(const Companion&) = delete;

    // Exports the object; the name comes after it, so that whoever sees the name can call.
    bool exportObject();
    // False when another process owns the name.
    bool ownName();
    void run();

  private:
    void call(std::string_view method);
    void emit(std::string_view signal, GVariant* arguments);
    void observeWindows();
    bool windowOnScreen() const;
    void checkIdle();

    GDBusConnection* _connection;
    GMainLoop* _loop = g_main_loop_new(nullptr, FALSE);
    guint _registration = 0;
    gint64 _idleLimit;
    gint64 _lastActive = Now();
};

bool Companion::exportObject() {
    GError* error = nullptr;
    GDBusNodeInfo* const node = g_dbus_node_info_new_for_xml(Introspection().c_str(), &error);
    if (node == nullptr) {
        systemLog().write(std::string("the companion's interface is malformed: ") + error->message);
        g_error_free(error);
        return false;
    }
    static const GDBusInterfaceVTable vtable{
        +[](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
            GVariant*, GDBusMethodInvocation* invocation, gpointer self) {
            static_cast<Companion*>(self)->call(method);
            g_dbus_method_invocation_return_value(invocation, nullptr);
        },
        nullptr,
        nullptr,
        {}};
    _registration =
        g_dbus_connection_register_object(_connection, std::string(companion::kObjectPath).c_str(),
                                          node->interfaces[0], &vtable, this, nullptr, &error);
    g_dbus_node_info_unref(node);
    if (_registration == 0) {
        systemLog().write(std::string("cannot export the companion: ") + error->message);
        g_error_free(error);
        return false;
    }
    return true;
}

bool Companion::ownName() {
    const std::string name(companion::kBusName);
    GError* error = nullptr;
    GVariant* const reply = g_dbus_connection_call_sync(
        _connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "RequestName", g_variant_new("(su)", name.c_str(), G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &error);
    if (reply == nullptr) {
        systemLog().write("the session bus did not give the name " + name + ": " + error->message);
        g_error_free(error);
        return false;
    }
    guint32 answer = 0;
    g_variant_get(reply, "(u)", &answer);
    g_variant_unref(reply);
    if (answer != kPrimaryOwner && answer != kAlreadyOwner) {
        systemLog().write("another companion already serves " + name + "; this one ends");
        return false;
    }
    return true;
}

void Companion::call(std::string_view method) {
    _lastActive = Now();
    KVKeyboardWindow& keyboard = KVKeyboardWindow::sharedWindow();
    if (method == companion::kShowSettings) {
        KVPreferencesWindow::sharedWindow().showWindow();
    } else if (method == companion::kShowWords) {
        KVWordsWindow::sharedWindow().showWindow();
    } else if (method == companion::kShowKeyboard) {
        // Shown where it was last: centred the first time, then where the user dragged it.
        if (!keyboard.panel().isVisible()) {
            keyboard.toggleWindow();
        }
    } else if (method == companion::kHideKeyboard) {
        keyboard.hideForFocusLoss();
    }
}

void Companion::emit(std::string_view signal, GVariant* arguments) {
    GError* error = nullptr;
    if (!g_dbus_connection_emit_signal(_connection, nullptr,
                                       std::string(companion::kObjectPath).c_str(),
                                       std::string(companion::kInterface).c_str(),
                                       std::string(signal).c_str(), arguments, &error)) {
        systemLog().write("cannot tell the input method of " + std::string(signal) + ": " +
                          error->message);
        g_error_free(error);
    }
}

void Companion::observeWindows() {
    NotificationCenter& center = defaultCenter();
    center.addObserver(this, KVKeyboardKeyPressedNotification, [this](const Notification& note) {
        emit(companion::kKeyPressed, g_variant_new("(s)", note.object.c_str()));
    });
    center.addObserver(this, KVSettingsDidChangeNotification,
                       [this](const Notification&) { emit(companion::kSettingsSaved, nullptr); });
    center.addObserver(this, KVUserDictionaryDidChangeNotification,
                       [this](const Notification&) { emit(companion::kWordsChanged, nullptr); });
    center.addObserver(this, KVKeyboardWindowDidCloseNotification,
                       [this](const Notification&) { emit(companion::kKeyboardClosed, nullptr); });
}

bool Companion::windowOnScreen() const {
    return KVKeyboardWindow::sharedWindow().panel().isVisible() ||
           KVPreferencesWindow::sharedWindow().isVisible() ||
           KVWordsWindow::sharedWindow().isVisible();
}

void Companion::checkIdle() {
    if (windowOnScreen()) {
        _lastActive = Now();
    } else if (Now() - _lastActive >= _idleLimit) {
        systemLog().write("no window of the companion for " + std::to_string(_idleLimit) +
                          " s; it ends");
        g_main_loop_quit(_loop);
    }
}

void Companion::run() {
    InstallKeyboardAccessibility(KVKeyboardWindow::sharedWindow());
    observeWindows();
    const auto quit = +[](gpointer loop) -> gboolean {
        g_main_loop_quit(static_cast<GMainLoop*>(loop));
        return G_SOURCE_CONTINUE;
    };
    const guint interrupt = g_unix_signal_add(SIGINT, quit, _loop);
    const guint terminate = g_unix_signal_add(SIGTERM, quit, _loop);
    const guint idle = g_timeout_add_seconds(
        1,
        +[](gpointer self) -> gboolean {
            static_cast<Companion*>(self)->checkIdle();
            return G_SOURCE_CONTINUE;
        },
        this);
    // The session ends with its bus: nothing is left to serve.
    const gulong closed = g_signal_connect(
        _connection, "closed", G_CALLBACK(+[](GDBusConnection*, gboolean, GError*, gpointer loop) {
            systemLog().write("the session bus went away; the companion ends");
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
        }),
        _loop);
    systemLog().write("companion ready");
    g_main_loop_run(_loop);
    g_signal_handler_disconnect(_connection, closed);
    g_source_remove(idle);
    g_source_remove(interrupt);
    g_source_remove(terminate);
}

}  // namespace

int KVRunCompanion(const KVWindowBodies& bodies) {
    GError* error = nullptr;
    GDBusConnection* const connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (connection == nullptr) {
        systemLog().write(std::string("no session bus for the companion: ") + error->message);
        g_error_free(error);
        return 1;
    }
    g_dbus_connection_set_exit_on_close(connection, FALSE);
    KVPrepareSharedWindows(bodies);
    int status = 0;
    {
        Companion service(connection);
        if (!service.exportObject()) {
            status = 1;
        } else if (service.ownName()) {
            service.run();
        }
    }
    g_dbus_connection_flush_sync(connection, nullptr, nullptr);
    g_object_unref(connection);
    return status;
}

}  // namespace kv
