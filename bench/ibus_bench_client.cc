// SPDX-License-Identifier: MIT
#include "bench/ibus_bench_client.h"

#include <utility>

#include "bench/engine_process.h"

namespace kv::bench {

namespace {

// Long enough for an engine that is still loading its table; a key that takes this long has
// failed.
constexpr gint kWaitMilliseconds = 10000;

// The caret of a text field somewhere on the screen, in root coordinates.
constexpr gint kCaretX = 200;
constexpr gint kCaretY = 300;
constexpr gint kCaretHeight = 18;

}  // namespace

IBusBenchClient::IBusBenchClient(std::string engineProcess)
    : _engineProcess(std::move(engineProcess)) {
    ibus_init();
    _bus = ibus_bus_new();
}

IBusBenchClient::~IBusBenchClient() {
    if (_context != nullptr) {
        ibus_input_context_focus_out(_context);
        ibus_proxy_destroy(IBUS_PROXY(_context));
        g_object_unref(_context);
    }
    if (_bus != nullptr) {
        g_object_unref(_bus);
    }
}

bool IBusBenchClient::connected() const {
    return _bus != nullptr && ibus_bus_is_connected(_bus);
}

bool IBusBenchClient::focus() {
    if (_context == nullptr) {
        _context = ibus_bus_create_input_context(_bus, "kv-ibus-bench");
        if (_context == nullptr) {
            return false;
        }
        g_signal_connect(_context, "commit-text", G_CALLBACK(OnCommit), this);
        g_signal_connect(_context, "update-preedit-text", G_CALLBACK(OnPreedit), this);
        ibus_input_context_set_capabilities(
            _context, IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_SURROUNDING_TEXT | IBUS_CAP_FOCUS);
    }
    ibus_input_context_focus_in(_context);
    ibus_input_context_set_cursor_location(_context, kCaretX, kCaretY, 1, kCaretHeight);
    ibus_input_context_set_surrounding_text(_context, ibus_text_new_from_static_string(""), 0, 0);
    return true;
}

bool IBusBenchClient::selectEngine(std::string_view engine) {
    const std::string name(engine);
    return ibus_bus_set_global_engine(_bus, name.c_str()) == TRUE;
}

std::string IBusBenchClient::currentEngine() const {
    IBusEngineDesc* const desc = ibus_bus_get_global_engine(_bus);
    if (desc == nullptr) {
        return {};
    }
    std::string name = ibus_engine_desc_get_name(desc);
    g_object_unref(desc);
    return name;
}

bool IBusBenchClient::engineStarted() const {
    return engineProcess().has_value();
}

std::optional<pid_t> IBusBenchClient::engineProcess() const {
    return FindProcess(_engineProcess);
}

void IBusBenchClient::sendKey(UsKey key, bool release) {
    ibus_input_context_process_key_event_async(_context, key.keysym, key.evdevCode,
                                               release ? IBUS_RELEASE_MASK : 0, kWaitMilliseconds,
                                               nullptr, OnReply, this);
}

void IBusBenchClient::OnCommit(IBusInputContext*, IBusText* text, gpointer self) {
    static_cast<IBusBenchClient*>(self)->committed(ibus_text_get_text(text));
}

void IBusBenchClient::OnPreedit(IBusInputContext*, IBusText* text, guint, gboolean visible,
                                gpointer self) {
    const gchar* const shown = ibus_text_get_text(text);
    if (visible == TRUE && shown != nullptr) {
        static_cast<IBusBenchClient*>(self)->preeditShown(shown);
    }
}

void IBusBenchClient::OnReply(GObject* context, GAsyncResult* result, gpointer self) {
    GError* error = nullptr;
    const gboolean handled = ibus_input_context_process_key_event_async_finish(
        IBUS_INPUT_CONTEXT(context), result, &error);
    if (error != nullptr) {
        g_error_free(error);
    }
    static_cast<IBusBenchClient*>(self)->replied(handled == TRUE, error != nullptr);
}

}  // namespace kv::bench
