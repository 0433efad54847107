// SPDX-License-Identifier: MIT
#include "platform/notification_center.h"

#include <algorithm>

namespace kv {

void NotificationCenter::addObserver(const void* owner, std::string_view name, Handler handler) {
    _registrations.push_back({_nextId++, owner, std::string(name), std::move(handler)});
}

void NotificationCenter::removeObserver(const void* owner) {
    std::erase_if(_registrations, [owner](const Registration& r) { return r.owner == owner; });
}

void NotificationCenter::postNotificationName(std::string_view name, std::string_view object) {
    const Notification notification{std::string(name), std::string(object)};
    // Observers may add or remove registrations while we deliver: walk a snapshot of the ids
    // and skip those that are gone by the time their turn comes.
    std::vector<std::uint64_t> ids;
    for (const Registration& r : _registrations) {
        if (r.name == name) {
            ids.push_back(r.id);
        }
    }
    for (const std::uint64_t id : ids) {
        const auto found = std::find_if(_registrations.begin(), _registrations.end(),
                                        [id](const Registration& r) { return r.id == id; });
        if (found != _registrations.end()) {
            const Handler handler = found->handler;  // the registration may vanish meanwhile
            handler(notification);
        }
    }
}

}  // namespace kv
