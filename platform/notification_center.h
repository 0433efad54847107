// SPDX-License-Identifier: MIT
// Process-wide notifications: synchronous delivery, in registration order, on the main thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct Notification {
    std::string name;
    std::string object;  // the key token for keyboard clicks; empty when a poster sends none
};

class NotificationCenter {
  public:
    using Handler = std::function<void(const Notification&)>;

    // `owner` identifies the observer for removal; it is never dereferenced.
    void addObserver(const void* owner, std::string_view name, Handler handler);
    // Removes every registration of `owner`; safe while a notification is being delivered.
    void removeObserver(const void* owner);
    void postNotificationName(std::string_view name, std::string_view object = {});

  private:
    struct Registration {
        std::uint64_t id;
        const void* owner;
        std::string name;
        Handler handler;
    };
    std::vector<Registration> _registrations;
    std::uint64_t _nextId = 1;
};

}  // namespace kv
