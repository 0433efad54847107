// SPDX-License-Identifier: MIT
#include "platform/linux/glib_main_queue.h"

#include <glib.h>

#include <cmath>
#include <memory>

namespace kv {

namespace {

using Block = std::function<void()>;

gboolean RunOnce(gpointer data) {
    (*static_cast<Block*>(data))();
    return G_SOURCE_REMOVE;
}

void Release(gpointer data) {
    // Takes back the ownership handed to the source in after().
    const std::unique_ptr<Block> owned(static_cast<Block*>(data));
}

guint Milliseconds(double seconds) {
    if (!(seconds > 0)) {  // also NaN
        return 0;
    }
    const double ms = std::ceil(seconds * 1000.0);
    return ms >= static_cast<double>(G_MAXUINT) ? G_MAXUINT : static_cast<guint>(ms);
}

}  // namespace

void GLibMainQueue::after(double seconds, std::function<void()> block) {
    auto owned = std::make_unique<Block>(std::move(block));
    g_timeout_add_full(G_PRIORITY_DEFAULT, Milliseconds(seconds), RunOnce, owned.release(),
                       Release);
}

}  // namespace kv
