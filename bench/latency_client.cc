// SPDX-License-Identifier: MIT
#include "bench/latency_client.h"

#include <glib.h>

#include <utility>

namespace kv::bench {

namespace {

// Long enough for an input method that is still loading its table; a key that takes this long
// has failed.
constexpr guint kWaitMilliseconds = 10000;

gboolean WakeUp(gpointer timedOut) {
    *static_cast<bool*>(timedOut) = true;
    return G_SOURCE_REMOVE;
}

}  // namespace

KeyResult LatencyClient::type(char key, Awaited awaited) {
    const std::optional<UsKey> usKey = UsKeyOf(key);
    if (!usKey) {
        return {};
    }
    _pending = Pending{};
    _pending.sent = Clock::now();
    sendKey(*usKey, false);
    const bool pressed = waitUntil(awaited, 1);
    // Applications forward releases too; the input method's answer to them is not what is
    // timed.
    sendKey(*usKey, true);
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

void LatencyClient::replied(bool handled, bool failed) {
    const Clock::time_point now = Clock::now();
    _pending.failed = _pending.failed || failed;
    if (_pending.replies == 0) {
        _pending.handled = handled;
        _pending.replyAt = now;
    }
    ++_pending.replies;
}

void LatencyClient::preeditShown(std::string_view text) {
    const Clock::time_point now = Clock::now();
    if (!_pending.preeditAt && !text.empty()) {
        _pending.preeditAt = now;
    }
}

void LatencyClient::committed(std::string_view text) {
    const Clock::time_point now = Clock::now();
    if (!_pending.commitAt) {
        _pending.commitAt = now;
    }
    _pending.committed += text;
}

bool LatencyClient::satisfied(Awaited awaited, int replies) const {
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

bool LatencyClient::waitUntil(Awaited awaited, int replies) {
    bool timedOut = false;
    const guint timer = g_timeout_add(kWaitMilliseconds, WakeUp, &timedOut);
    // Blocking iterations: the client sleeps until the framework writes, as an application does.
    while (!satisfied(awaited, replies) && !timedOut) {
        g_main_context_iteration(nullptr, TRUE);
    }
    if (!timedOut) {
        g_source_remove(timer);
    }
    return satisfied(awaited, replies);
}

}  // namespace kv::bench
