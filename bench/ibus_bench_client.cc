// SPDX-License-Identifier: MIT
#include "bench/ibus_bench_client.h"

#include <array>
#include <string>
#include <utility>

namespace kv::bench {

namespace {

// Long enough for an engine that is still loading its table; a key that takes this long has
// failed.
constexpr guint kWaitMilliseconds = 10000;

// The caret of a text field somewhere on the screen, in root coordinates.
constexpr gint kCaretX = 200;
constexpr gint kCaretY = 300;
constexpr gint kCaretHeight = 18;

// Evdev key codes (X key code - 8) of the US layout, which the engine receives with the key.
std::optional<std::pair<guint, guint>> KeyvalAndKeycode(char key) {
    static constexpr std::array<std::pair<std::string_view, guint>, 3> kLetterRows{{
        {"qwertyuiop", 16},
        {"asdfghjkl", 30},
        {"zxcvbnm", 44},
    }};
    for (const auto& [row, first] : kLetterRows) {
        if (const auto at = row.find(key); at != std::string_view::npos) {
            return std::pair{static_cast<guint>(key), first + static_cast<guint>(at)};
        }
    }
    if (key >= '1' && key <= '9') {
        return std::pair{static_cast<guint>(key), static_cast<guint>(key - '1' + 2)};
    }
    switch (key) {
        case '0':
            return std::pair{static_cast<guint>(IBUS_KEY_0), 11U};
        case ' ':
            return std::pair{static_cast<guint>(IBUS_KEY_space), 57U};
        case '\x1b':
            return std::pair{static_cast<guint>(IBUS_KEY_Escape), 1U};
        default:
            return std::nullopt;
    }
}

gboolean WakeUp(gpointer timedOut) {
    *static_cast<bool*>(timedOut) = true;
    return G_SOURCE_REMOVE;
}

}  // namespace

IBusBenchClient::IBusBenchClient() {
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

std::string IBusBenchClient::globalEngine() const {
    IBusEngineDesc* const desc = ibus_bus_get_global_engine(_bus);
    if (desc == nullptr) {
        return {};
    }
    std::string name = ibus_engine_desc_get_name(desc);
    g_object_unref(desc);
    return name;
}

KeyResult IBusBenchClient::type(char key, Awaited awaited) {
    const std::optional<std::pair<guint, guint>> codes = KeyvalAndKeycode(key);
    if (!codes) {
        return {};
    }
    const auto [keyval, keycode] = *codes;
    _pending = Pending{};
    send(keyval, keycode, 0);
    const bool pressed = waitUntil(awaited, 1);
    // Applications forward releases too; the engine's answer to them is not what is timed.
    send(keyval, keycode, IBUS_RELEASE_MASK);
    const bool released = pressed && waitUntil(Awaited::Reply, 2);

    KeyResult result;
    result.answered = released && !_pending.failed;
    result.handled = _pending.handled;
    result.sent = _pending.sent;
    if (_pending.replyAt) {
        result.toReply = *_pending.replyAt - _pending.sent;
    }
    if (_pending.preeditAt) {
        result.toPreedit = *_pending.preeditAt - _pending.sent;
    }
    if (_pending.commitAt) {
        result.toCommit = *_pending.commitAt - _pending.sent;
    }
    result.committed = std::move(_pending.committed);
    return result;
}

void IBusBenchClient::send(guint keyval, guint keycode, guint state) {
    if (state == 0) {
        _pending.sent = Clock::now();
    }
    ibus_input_context_process_key_event_async(_context, keyval, keycode, state,
                                               static_cast<gint>(kWaitMilliseconds), nullptr,
                                               OnReply, this);
}

bool IBusBenchClient::satisfied(Awaited awaited, int replies) const {
    if (_pending.replies < replies) {
        return false;
    }
    switch (awaited) {
        case Awaited::Reply:
            return true;
        case Awaited::Preedit:
            return _pending.preeditAt.has_value();
        case Awaited::Commit:
            return _pending.commitAt.has_value();
    }
    return true;
}

bool IBusBenchClient::waitUntil(Awaited awaited, int replies) {
    bool timedOut = false;
    const guint timer = g_timeout_add(kWaitMilliseconds, WakeUp, &timedOut);
    // Blocking iterations: the client sleeps until the daemon writes, as an application does.
    while (!satisfied(awaited, replies) && !timedOut) {
        g_main_context_iteration(nullptr, TRUE);
    }
    if (!timedOut) {
        g_source_remove(timer);
    }
    return satisfied(awaited, replies);
}

void IBusBenchClient::OnCommit(IBusInputContext*, IBusText* text, gpointer self) {
    const Clock::time_point now = Clock::now();
    Pending& pending = static_cast<IBusBenchClient*>(self)->_pending;
    if (!pending.commitAt) {
        pending.commitAt = now;
    }
    pending.committed += ibus_text_get_text(text);
}

void IBusBenchClient::OnPreedit(IBusInputContext*, IBusText* text, guint, gboolean visible,
                                gpointer self) {
    const Clock::time_point now = Clock::now();
    Pending& pending = static_cast<IBusBenchClient*>(self)->_pending;
    const gchar* const shown = ibus_text_get_text(text);
    if (!pending.preeditAt && visible == TRUE && shown != nullptr && shown[0] != '\0') {
        pending.preeditAt = now;
    }
}

void IBusBenchClient::OnReply(GObject* context, GAsyncResult* result, gpointer self) {
    const Clock::time_point now = Clock::now();
    Pending& pending = static_cast<IBusBenchClient*>(self)->_pending;
    GError* error = nullptr;
    const gboolean handled = ibus_input_context_process_key_event_async_finish(
        IBUS_INPUT_CONTEXT(context), result, &error);
    // A failed call counts as answered, unconsumed: the wait ends and the key reports it.
    if (error != nullptr) {
        pending.failed = true;
        g_error_free(error);
    }
    // The press is answered first: the daemon replies in the order it was asked.
    if (pending.replies == 0) {
        pending.handled = handled == TRUE;
        pending.replyAt = now;
    }
    ++pending.replies;
}

}  // namespace kv::bench
