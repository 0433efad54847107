// SPDX-License-Identifier: MIT
// An input context on the IBus daemon named by IBUS_ADDRESS, typing keys the way an application
// forwards them and timing what the engine sends back to it.
#pragma once

#include <ibus.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kv::bench {

using Clock = std::chrono::steady_clock;

// What a key press brought back to the client.
struct KeyResult {
    // The daemon answered both the press and the release, without error, before the wait ran
    // out.
    bool answered = false;
    // The engine consumed the press.
    bool handled = false;
    Clock::time_point sent;
    // From sending the press to the daemon's reply to it: the whole round trip through the
    // engine, which for a key the engine passes through is all there is.
    std::optional<Clock::duration> toReply;
    // From sending the press to the first visible, non-empty preedit and to the first commit.
    std::optional<Clock::duration> toPreedit;
    std::optional<Clock::duration> toCommit;
    std::string committed;
};

// What a press waits for besides the daemon's reply.
enum class Awaited { Reply, Preedit, Commit };

class IBusBenchClient {
  public:
    IBusBenchClient();
    ~IBusBenchClient();
    IBusBenchClient(const IBusBenchClient&) = delete;
    IBusBenchClient& operator=(const IBusBenchClient&) = delete;

    bool connected() const;

    // Creates the input context with the capabilities of a text field (preedit, surrounding
    // text, focus), focuses it and puts its caret on the screen, as an application does before
    // the user types. False if the daemon refused the context.
    bool focus();

    // Makes `engine` the global engine; returns once the daemon attached it to the context
    // (starting the engine's process first if it is not running).
    bool selectEngine(std::string_view engine);
    std::string globalEngine() const;

    // Presses and releases one key: a letter, a digit, ' ' (Space) or '\x1b' (Escape). Waits
    // for the daemon's replies and for `awaited`, iterating the main context meanwhile.
    KeyResult type(char key, Awaited awaited);

  private:
    struct Pending {
        Clock::time_point sent;
        std::optional<Clock::time_point> replyAt;
        std::optional<Clock::time_point> preeditAt;
        std::optional<Clock::time_point> commitAt;
        std::string committed;
        int replies = 0;
        bool handled = false;
        bool failed = false;
    };

    static void OnCommit(IBusInputContext* context, IBusText* text, gpointer self);
    static void OnPreedit(IBusInputContext* context, IBusText* text, guint cursor, gboolean visible,
                          gpointer self);
    static void OnReply(GObject* context, GAsyncResult* result, gpointer self);

    void send(guint keyval, guint keycode, guint state);
    bool waitUntil(Awaited awaited, int replies);
    bool satisfied(Awaited awaited, int replies) const;

    IBusBus* _bus = nullptr;
    IBusInputContext* _context = nullptr;
    Pending _pending;
};

}  // namespace kv::bench
