// SPDX-License-Identifier: MIT
// Feeds bytes to the settings file reader. When they parse, every type of value written into
// them must read back as written, and the keys already there must keep their values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/linux/defaults_key_file.h"

namespace {

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::string_view WithoutTrailingCR(std::string_view text) {
    while (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    return text;
}

bool SameValue(const kv::DefaultsValue& a, const kv::DefaultsValue& b) {
    const auto* x = std::get_if<double>(&a);
    const auto* y = std::get_if<double>(&b);
    if (x != nullptr && y != nullptr && std::isnan(*x) && std::isnan(*y)) {
        return true;
    }
    // GLib drops one carriage return at the end of a line at every reading, so a hand-written
    // value ending in several loses one per write; nothing the program writes ends so.
    const auto* s = std::get_if<std::string>(&a);
    const auto* t = std::get_if<std::string>(&b);
    if (s != nullptr && t != nullptr) {
        return WithoutTrailingCR(*s) == WithoutTrailingCR(*t);
    }
    return a == b;
}

void CheckWrite(std::string_view bytes, const kv::DefaultsMap& before,
                const kv::DefaultsValue& value) {
    constexpr std::string_view kKey = "FuzzWrittenKey";
    const std::optional<std::string> updated = kv::UpdateDefaultsKeyFile(bytes, kKey, value);
    Require(updated.has_value(), "a parsed file refused a plain key");
    const std::optional<kv::DefaultsMap> after = kv::ParseDefaultsKeyFile(*updated);
    Require(after.has_value(), "a written file does not parse");
    const auto written = after->find(kKey);
    Require(written != after->end() && SameValue(written->second, value),
            "the written value does not read back");
    for (const auto& [key, old] : before) {
        if (key == kKey) {
            continue;
        }
        const auto kept = after->find(key);
        Require(kept != after->end() && SameValue(kept->second, old), "a write changed a key");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<kv::DefaultsMap> values = kv::ParseDefaultsKeyFile(bytes);
    if (!values) {
        return 0;
    }
    CheckWrite(bytes, *values, true);
    CheckWrite(bytes, *values, std::int64_t{-42});
    CheckWrite(bytes, *values, 0.1);
    CheckWrite(bytes, *values, std::string(" a\tb\\n [x]=y # 體 "));
    return 0;
}
