// SPDX-License-Identifier: MIT
// The bundle's information dictionary, read from Info.plist bytes (XML or binary).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

class InfoPlist {
  public:
    // Nothing when the bytes are no property list or its root is not a dictionary.
    static std::optional<InfoPlist> parse(std::string_view bytes);

    // The string under `key`; nothing when it is absent or holds another type.
    std::optional<std::string> stringForKey(std::string_view key) const;

  private:
    struct Free {
        void operator()(void* node) const;
    };
    explicit InfoPlist(void* root) : _root(root) {}

    // Looked up by key rather than walked: the library's dictionary walk aborts on keys that
    // hold a NUL, which a damaged binary file may have.
    std::unique_ptr<void, Free> _root;
};

}  // namespace kv
