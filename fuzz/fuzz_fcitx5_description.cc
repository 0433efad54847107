// SPDX-License-Identifier: MIT
// Feeds bytes, as a bundle's fcitx5 description, to the rewriting that installs it. It must
// refuse or rewrite without fault; a rewritten one holds the value once in its section, and
// rewriting it again changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/fcitx5_description.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view kValue = "/bundle/Contents/PlugIns/cqinputkv-fcitx5";
    const std::optional<std::string> once = kv::WithFcitxValue(bytes, "Addon", "Library", kValue);
    if (!once) {
        return 0;
    }
    if (once->find(std::string("\nLibrary=") + std::string(kValue) + "\n") == std::string::npos ||
        kv::WithFcitxValue(*once, "Addon", "Library", kValue) != once) {
        std::fprintf(stderr, "broken: the value is missing or a second rewrite changed it\n");
        std::abort();
    }
    return 0;
}
