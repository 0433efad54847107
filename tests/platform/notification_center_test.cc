// SPDX-License-Identifier: MIT
// Delivery order and removal of observers, also while a notification is being delivered.
#include "platform/notification_center.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

TEST(NotificationCenter, DeliversSynchronouslyInRegistrationOrder) {
    NotificationCenter center;
    std::vector<std::string> heard;
    int first = 0;
    int second = 0;
    int third = 0;
    center.addObserver(&second, "Changed",
                       [&](const Notification& n) { heard.push_back("second:" + n.object); });
    center.addObserver(&first, "Other", [&](const Notification&) { heard.push_back("other"); });
    center.addObserver(&first, "Changed",
                       [&](const Notification& n) { heard.push_back("first:" + n.object); });
    center.addObserver(&third, "Changed",
                       [&](const Notification& n) { heard.push_back("third:" + n.name); });

    center.postNotificationName("Changed", "a");
    EXPECT_EQ(heard, (std::vector<std::string>{"second:a", "first:a", "third:Changed"}));

    heard.clear();
    center.postNotificationName("Nobody listens");
    EXPECT_TRUE(heard.empty());
}

TEST(NotificationCenter, RemovesEveryRegistrationOfAnOwner) {
    NotificationCenter center;
    int owner = 0;
    int other = 0;
    int calls = 0;
    center.addObserver(&owner, "A", [&](const Notification&) { ++calls; });
    center.addObserver(&owner, "B", [&](const Notification&) { ++calls; });
    center.addObserver(&other, "A", [&](const Notification&) { calls += 100; });
    center.removeObserver(&owner);
    center.postNotificationName("A");
    center.postNotificationName("B");
    EXPECT_EQ(calls, 100);
    center.removeObserver(&owner);  // twice is harmless
}

TEST(NotificationCenter, ObserversRemovedOrAddedDuringDeliveryChangeOnlyLaterPosts) {
    NotificationCenter center;
    std::vector<std::string> heard;
    int closer = 0;
    int closed = 0;
    int late = 0;
    center.addObserver(&closer, "Key", [&](const Notification&) {
        heard.push_back("closer");
        center.removeObserver(&closed);
        center.removeObserver(&closer);  // removing itself while it runs
        center.addObserver(&late, "Key", [&](const Notification&) { heard.push_back("late"); });
    });
    center.addObserver(&closed, "Key", [&](const Notification&) { heard.push_back("closed"); });
    center.postNotificationName("Key");
    EXPECT_EQ(heard, std::vector<std::string>{"closer"});
    center.postNotificationName("Key");
    EXPECT_EQ(heard, (std::vector<std::string>{"closer", "late"}));
}

}  // namespace
}  // namespace kv
