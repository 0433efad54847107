// SPDX-License-Identifier: MIT
// Blocks run on the GLib main loop in due order, ties in scheduling order.
#include "platform/linux/glib_main_queue.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

TEST(GLibMainQueue, RunsBlocksOnTheMainLoopInDueOrder) {
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    GLibMainQueue queue;
    std::vector<std::string> ran;
    queue.after(0.05, [&] {
        ran.push_back("last");
        g_main_loop_quit(loop);
    });
    queue.after(0.02, [&] { ran.push_back("second"); });
    queue.after(0, [&] { ran.push_back("tie 1"); });
    queue.after(-1, [&] { ran.push_back("tie 2"); });
    queue.after(0.02, [&] { ran.push_back("third"); });
    EXPECT_TRUE(ran.empty());  // nothing runs before the loop does
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
    EXPECT_EQ(ran, (std::vector<std::string>{"tie 1", "tie 2", "second", "third", "last"}));
}

TEST(GLibMainQueue, ABlockMayScheduleAnother) {
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    GLibMainQueue queue;
    int steps = 0;
    queue.after(0.001, [&] {
        ++steps;
        queue.after(0.001, [&] {
            ++steps;
            g_main_loop_quit(loop);
        });
    });
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
    EXPECT_EQ(steps, 2);
}

}  // namespace
}  // namespace kv
