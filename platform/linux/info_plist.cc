// SPDX-License-Identifier: MIT
#include "platform/linux/info_plist.h"

#include <plist/plist.h>

#include <cstdint>
#include <limits>

namespace kv {

void InfoPlist::Free::operator()(void* node) const {
    plist_free(node);
}

std::optional<InfoPlist> InfoPlist::parse(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    // A terminated copy: the XML reader is not to rely on the length alone.
    const std::string data(bytes);
    plist_t raw = nullptr;
    plist_from_memory(data.c_str(), static_cast<std::uint32_t>(data.size()), &raw);
    InfoPlist info(raw);
    if (!info._root || plist_get_node_type(info._root.get()) != PLIST_DICT) {
        return std::nullopt;
    }
    return info;
}

std::optional<std::string> InfoPlist::stringForKey(std::string_view key) const {
    if (key.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string name(key);
    const plist_t value = plist_dict_get_item(_root.get(), name.c_str());
    if (value == nullptr || plist_get_node_type(value) != PLIST_STRING) {
        return std::nullopt;
    }
    std::uint64_t length = 0;
    const char* text = plist_get_string_ptr(value, &length);
    if (text == nullptr) {
        return std::nullopt;
    }
    return std::string(text, static_cast<std::size_t>(length));
}

}  // namespace kv
