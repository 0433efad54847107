// SPDX-License-Identifier: MIT
// The manual clock runs blocks in due order, ties in scheduling order, only once due.
#include "platform/memory/manual_main_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

TEST(ManualMainQueue, RunsBlocksInDueOrderAndTiesInSchedulingOrder) {
    ManualMainQueue queue;
    std::vector<std::string> ran;
    queue.after(0.9, [&] { ran.push_back("late"); });
    queue.after(0.5, [&] { ran.push_back("tie 1"); });
    queue.after(0.1, [&] { ran.push_back("early"); });
    queue.after(0.5, [&] { ran.push_back("tie 2"); });
    queue.after(-3, [&] { ran.push_back("now"); });

    queue.advance(0.5);
    EXPECT_EQ(ran, (std::vector<std::string>{"now", "early", "tie 1", "tie 2"}));
    EXPECT_EQ(queue.pending(), 1u);
    EXPECT_DOUBLE_EQ(queue.now(), 0.5);

    queue.advance(0.39);
    EXPECT_EQ(ran.size(), 4u);
    queue.advance(0.01);
    EXPECT_EQ(ran.back(), "late");
    EXPECT_EQ(queue.pending(), 0u);
}

TEST(ManualMainQueue, BlocksScheduledWhileAdvancingRunWhenDueWithinTheSameAdvance) {
    ManualMainQueue queue;
    std::vector<double> times;
    queue.after(0.9, [&] {
        times.push_back(queue.now());
        queue.after(0.9, [&] { times.push_back(queue.now()); });
    });
    queue.advance(2.0);
    ASSERT_EQ(times.size(), 2u);
    EXPECT_DOUBLE_EQ(times[0], 0.9);
    EXPECT_DOUBLE_EQ(times[1], 1.8);
    EXPECT_DOUBLE_EQ(queue.now(), 2.0);
}

}  // namespace
}  // namespace kv
