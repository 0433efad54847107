// SPDX-License-Identifier: MIT
// Feeds bytes to the bundle's Info.plist reader (XML and binary property lists). It must refuse
// or read them without fault, and answer the keys the program asks for the same way twice.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/linux/info_plist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<kv::InfoPlist> info = kv::InfoPlist::parse(bytes);
    if (!info) {
        return 0;
    }
    for (const std::string_view key :
         {"CFBundleIdentifier", "InputMethodConnectionName", "CFBundleName", "", "Inner"}) {
        if (info->stringForKey(key) != info->stringForKey(key)) {
            std::fprintf(stderr, "broken: one key read differently\n");
            std::abort();
        }
    }
    return 0;
}
