// SPDX-License-Identifier: MIT
// A text field's input context on an input method framework, typing keys the way an application
// forwards them and timing what the input method sends back. The framework's protocol is the
// subclass's; the timing, on GLib's main context, is shared.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "bench/us_keys.h"

namespace kv::bench {

using Clock = std::chrono::steady_clock;

// What a key press brought back to the client.
struct KeyResult {
    // The framework answered both the press and the release, without error, before the wait
    // ran out.
    bool answered = false;
    // The input method consumed the press.
    bool handled = false;
    Clock::time_point sent;
    // From sending the press to the framework's reply to it: the whole round trip through the
    // input method, which for a key it passes through is all there is.
    std::optional<Clock::duration> toReply;
    // From sending the press to the first visible, non-empty preedit and to the first commit.
    std::optional<Clock::duration> toPreedit;
    std::optional<Clock::duration> toCommit;
    std::string committed;
};

// What a press waits for besides the framework's reply.
enum class Awaited { Reply, Preedit, Commit };

class LatencyClient {
  public:
    LatencyClient() = default;
    virtual ~LatencyClient() = default;
    LatencyClient(const LatencyClient&) = delete;
    LatencyClient& operator=(const LatencyClient&) = delete;

    virtual bool connected() const = 0;

    // Creates the input context with the capabilities of a text field (preedit, surrounding
    // text), focuses it and puts its caret on the screen, as an application does before the
    // user types. False if the framework refused the context.
    virtual bool focus() = 0;

    // Makes `engine` the current input method; returns once the framework attached it to the
    // focused context (starting or loading it first).
    virtual bool selectEngine(std::string_view engine) = 0;
    virtual std::string currentEngine() const = 0;

    // Whether the engine already runs (its process) or is loaded (its library): start-up is
    // only measured from cold.
    virtual bool engineStarted() const = 0;
    // The process whose memory holds the engine.
    virtual std::optional<pid_t> engineProcess() const = 0;

    // Presses and releases one key (see UsKeyOf). Waits for the framework's replies and for
    // `awaited`, iterating GLib's main context meanwhile.
    KeyResult type(char key, Awaited awaited);

  protected:
    // Sends the press or the release without waiting; the subclass reports what comes back
    // through the calls below, in the order it arrives.
    virtual void sendKey(UsKey key, bool release) = 0;

    // The framework's reply to a key event: the press is answered first, as frameworks reply
    // in the order they were asked. A failed call counts as answered, unconsumed.
    void replied(bool handled, bool failed);
    // A visible preedit arrived; empty ones (the preedit cleared) are not what a user waits for.
    void preeditShown(std::string_view text);
    void committed(std::string_view text);

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

    bool waitUntil(Awaited awaited, int replies);
    bool satisfied(Awaited awaited, int replies) const;

    Pending _pending;
};

}  // namespace kv::bench
