// SPDX-License-Identifier: MIT
#include "bench/fcitx5_bench_client.h"

#include <cstdint>
#include <utility>

#include "bench/engine_process.h"

namespace kv::bench {

namespace {

constexpr const char* kFcitx = "org.fcitx.Fcitx5";
constexpr const char* kInputContext = "org.fcitx.Fcitx.InputContext1";

// Long enough for an addon that is still loading its table; a call that takes this long has
// failed.
constexpr gint kWaitMilliseconds = 10000;

// Capability bits of fcitx5's input contexts: a text field that shows the preedit itself and
// tells the text around the caret.
constexpr std::uint64_t kPreedit = 1ULL << 1U;
constexpr std::uint64_t kFormattedPreedit = 1ULL << 4U;
constexpr std::uint64_t kSurroundingText = 1ULL << 6U;

// The caret of a text field somewhere on the screen, in root coordinates.
constexpr gint kCaretX = 200;
constexpr gint kCaretY = 300;
constexpr gint kCaretHeight = 18;

// X key codes are the evdev codes plus 8.
constexpr guint kXKeyCodeOffset = 8;

// The text of a preedit as fcitx5 sends it: (text, format) pieces.
std::string PreeditText(GVariant* pieces) {
    std::string text;
    GVariantIter iter;
    g_variant_iter_init(&iter, pieces);
    const gchar* piece = nullptr;
    gint format = 0;
    while (g_variant_iter_next(&iter, "(&si)", &piece, &format)) {
        text += piece;
    }
    return text;
}

}  // namespace

FcitxBenchClient::FcitxBenchClient(std::string engineLibrary)
    : _engineLibrary(std::move(engineLibrary)) {
    _bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
}

FcitxBenchClient::~FcitxBenchClient() {
    if (_subscription != 0) {
        g_dbus_connection_signal_unsubscribe(_bus, _subscription);
    }
    if (!_context.empty()) {
        for (const char* method : {"FocusOut", "DestroyIC"}) {
            if (GVariant* const reply = callContext(method, nullptr)) {
                g_variant_unref(reply);
            }
        }
    }
    if (_bus != nullptr) {
        g_object_unref(_bus);
    }
}

GVariant* FcitxBenchClient::call(const char* path, const char* interface, const char* method,
                                 GVariant* parameters, const GVariantType* replyType) const {
    return g_dbus_connection_call_sync(_bus, kFcitx, path, interface, method, parameters, replyType,
                                       G_DBUS_CALL_FLAGS_NO_AUTO_START, kWaitMilliseconds, nullptr,
                                       nullptr);
}

GVariant* FcitxBenchClient::callContext(const char* method, GVariant* parameters) const {
    return call(_context.c_str(), kInputContext, method, parameters, nullptr);
}

bool FcitxBenchClient::connected() const {
    if (_bus == nullptr) {
        return false;
    }
    GVariant* const reply = g_dbus_connection_call_sync(
        _bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", kFcitx), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE,
        kWaitMilliseconds, nullptr, nullptr);
    if (reply == nullptr) {
        return false;
    }
    gboolean owned = FALSE;
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
    return owned == TRUE;
}

bool FcitxBenchClient::focus() {
    if (_context.empty()) {
        GVariantBuilder properties;
        g_variant_builder_init(&properties, G_VARIANT_TYPE("a(ss)"));
        g_variant_builder_add(&properties, "(ss)", "program", "kv-fcitx5-bench");
        GVariant* const reply = call(
            "/org/freedesktop/portal/inputmethod", "org.fcitx.Fcitx.InputMethod1",
            "CreateInputContext", g_variant_new("(a(ss))", &properties), G_VARIANT_TYPE("(oay)"));
        if (reply == nullptr) {
            return false;
        }
        GVariant* const path = g_variant_get_child_value(reply, 0);
        _context = g_variant_get_string(path, nullptr);
        g_variant_unref(path);
        g_variant_unref(reply);
        _subscription = g_dbus_connection_signal_subscribe(
            _bus, nullptr, kInputContext, nullptr, _context.c_str(), nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE, OnSignal, this, nullptr);
        const std::uint64_t capabilities = kPreedit | kFormattedPreedit | kSurroundingText;
        if (GVariant* const set =
                callContext("SetCapability", g_variant_new("(t)", capabilities))) {
            g_variant_unref(set);
        }
    }
    bool answered = true;
    for (auto [method, parameters] :
         {std::pair{"FocusIn", static_cast<GVariant*>(nullptr)},
          std::pair{"SetCursorRect", g_variant_new("(iiii)", kCaretX, kCaretY, 1, kCaretHeight)},
          std::pair{"SetSurroundingText", g_variant_new("(suu)", "", 0U, 0U)}}) {
        GVariant* const reply = callContext(method, parameters);
        answered = answered && reply != nullptr;
        if (reply != nullptr) {
            g_variant_unref(reply);
        }
    }
    return answered;
}

bool FcitxBenchClient::selectEngine(std::string_view engine) {
    const std::string name(engine);
    GVariant* const reply = call("/controller", "org.fcitx.Fcitx.Controller1", "SetCurrentIM",
                                 g_variant_new("(s)", name.c_str()), nullptr);
    if (reply == nullptr) {
        return false;
    }
    g_variant_unref(reply);
    return currentEngine() == name;
}

std::string FcitxBenchClient::currentEngine() const {
    GVariant* const reply = call("/controller", "org.fcitx.Fcitx.Controller1", "CurrentInputMethod",
                                 nullptr, G_VARIANT_TYPE("(s)"));
    if (reply == nullptr) {
        return {};
    }
    const gchar* name = nullptr;
    g_variant_get(reply, "(&s)", &name);
    std::string current = name;
    g_variant_unref(reply);
    return current;
}

bool FcitxBenchClient::engineStarted() const {
    const std::optional<pid_t> fcitx = engineProcess();
    return fcitx && MapsFile(*fcitx, _engineLibrary);
}

std::optional<pid_t> FcitxBenchClient::engineProcess() const {
    GVariant* const reply = g_dbus_connection_call_sync(
        _bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "GetConnectionUnixProcessID", g_variant_new("(s)", kFcitx), G_VARIANT_TYPE("(u)"),
        G_DBUS_CALL_FLAGS_NONE, kWaitMilliseconds, nullptr, nullptr);
    if (reply == nullptr) {
        return std::nullopt;
    }
    guint32 pid = 0;
    g_variant_get(reply, "(u)", &pid);
    g_variant_unref(reply);
    return static_cast<pid_t>(pid);
}

void FcitxBenchClient::sendKey(UsKey key, bool release) {
    // The event's time in milliseconds, as a window system stamps it.
    const auto time = static_cast<guint32>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
            .count());
    g_dbus_connection_call(_bus, kFcitx, _context.c_str(), kInputContext, "ProcessKeyEvent",
                           g_variant_new("(uuubu)", key.keysym, key.evdevCode + kXKeyCodeOffset, 0U,
                                         release ? TRUE : FALSE, time),
                           G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NO_AUTO_START,
                           kWaitMilliseconds, nullptr, OnReply, this);
}

void FcitxBenchClient::OnSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                const gchar* signal, GVariant* parameters, gpointer self) {
    auto* const client = static_cast<FcitxBenchClient*>(self);
    const std::string_view name = signal;
    if (name == "CommitString") {
        const gchar* text = nullptr;
        g_variant_get(parameters, "(&s)", &text);
        client->committed(text);
    } else if (name == "UpdateFormattedPreedit") {
        GVariant* const pieces = g_variant_get_child_value(parameters, 0);
        client->preeditShown(PreeditText(pieces));
        g_variant_unref(pieces);
    }
}

void FcitxBenchClient::OnReply(GObject* connection, GAsyncResult* result, gpointer self) {
    GError* error = nullptr;
    GVariant* const reply =
        g_dbus_connection_call_finish(G_DBUS_CONNECTION(connection), result, &error);
    gboolean handled = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &handled);
        g_variant_unref(reply);
    }
    if (error != nullptr) {
        g_error_free(error);
    }
    static_cast<FcitxBenchClient*>(self)->replied(handled == TRUE, reply == nullptr);
}

}  // namespace kv::bench
