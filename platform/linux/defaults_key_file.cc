// SPDX-License-Identifier: MIT
#include "platform/linux/defaults_key_file.h"

#include <glib.h>

#include <array>
#include <limits>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "platform/linux/glib_ptr.h"

namespace kv {

namespace {

constexpr const char* kBooleanGroup = "Boolean";
constexpr const char* kIntegerGroup = "Integer";
constexpr const char* kRealGroup = "Real";
constexpr const char* kStringGroup = "String";
constexpr std::array<const char*, 4> kGroups = {kBooleanGroup, kIntegerGroup, kRealGroup,
                                                kStringGroup};

struct KeyFileFree {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileFree>;

// GLib drops one carriage return before a line end per reading, so a hand-edited value ending
// in several would change at every rewrite; drop them all once, as line ends.
std::string WithoutCarriageReturnsAtLineEnds(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            const std::size_t next = bytes.find_first_not_of('\r', i);
            if (next == std::string_view::npos || bytes[next] == '\n') {
                i = (next == std::string_view::npos ? bytes.size() : next) - 1;
                continue;
            }
        }
        text.push_back(bytes[i]);
    }
    return text;
}

KeyFile Load(std::string_view bytes) {
    // The GLib reader takes a length in gsize but also stops at a NUL: refuse those outright.
    if (bytes.find('\0') != std::string_view::npos) {
        return nullptr;
    }
    const std::string text = WithoutCarriageReturnsAtLineEnds(bytes);
    KeyFile file(g_key_file_new());
    const GKeyFileFlags flags =
        static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);
    if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), flags, nullptr)) {
        return nullptr;
    }
    return file;
}

// The value as its group's type, or the raw text when it does not parse as that type.
std::optional<DefaultsValue> ReadTyped(GKeyFile* file, const char* group, const char* key) {
    GError* error = nullptr;
    std::optional<DefaultsValue> value;
    if (group == kBooleanGroup) {
        const gboolean b = g_key_file_get_boolean(file, group, key, &error);
        value = error == nullptr ? std::optional<DefaultsValue>(b != FALSE) : std::nullopt;
    } else if (group == kIntegerGroup) {
        const gint64 i = g_key_file_get_int64(file, group, key, &error);
        value = error == nullptr ? std::optional<DefaultsValue>(std::int64_t{i}) : std::nullopt;
    } else if (group == kRealGroup) {
        const gdouble d = g_key_file_get_double(file, group, key, &error);
        value = error == nullptr ? std::optional<DefaultsValue>(double{d}) : std::nullopt;
    } else {
        const GCharsPtr s(g_key_file_get_string(file, group, key, &error));
        value =
            error == nullptr ? std::optional<DefaultsValue>(std::string(s.get())) : std::nullopt;
    }
    g_clear_error(&error);
    if (value) {
        return value;
    }
    const GCharsPtr raw(g_key_file_get_value(file, group, key, nullptr));
    return raw ? std::optional<DefaultsValue>(std::string(raw.get())) : std::nullopt;
}

bool IsStorableKey(std::string_view key) {
    if (key.empty() || key.front() == ' ' || key.back() == ' ' || key.front() == '#' ||
        !g_utf8_validate(key.data(), static_cast<gssize>(key.size()), nullptr)) {
        return false;
    }
    for (const char c : key) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '=' || c == '[' || c == ']') {
            return false;
        }
    }
    return true;
}

bool IsStorableText(std::string_view text) {
    return text.find('\0') == std::string_view::npos &&
           g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
}

// A key written twice in one group reads as its last value, but only that one can be replaced or
// removed. Before a write, such a group is rewritten with each key once, at its last value.
void RemoveDuplicateKeys(GKeyFile* file, const char* group) {
    const GStrvPtr keys(g_key_file_get_keys(file, group, nullptr, nullptr));
    std::vector<std::string> order;
    std::set<std::string, std::less<>> seen;
    bool duplicated = false;
    for (char** key = keys.get(); key != nullptr && *key != nullptr; ++key) {
        if (seen.insert(*key).second) {
            order.emplace_back(*key);
        } else {
            duplicated = true;
        }
    }
    if (!duplicated) {
        return;
    }
    std::vector<std::pair<std::string, std::string>> values;
    for (const std::string& key : order) {
        const GCharsPtr raw(g_key_file_get_value(file, group, key.c_str(), nullptr));
        if (raw) {
            values.emplace_back(key, raw.get());
        }
    }
    g_key_file_remove_group(file, group, nullptr);
    for (const auto& [key, raw] : values) {
        g_key_file_set_value(file, group, key.c_str(), raw.c_str());
    }
}

struct Writer {
    GKeyFile* file;
    const char* key;

    const char* operator()(bool b) const {
        g_key_file_set_boolean(file, kBooleanGroup, key, b);
        return kBooleanGroup;
    }
    const char* operator()(std::int64_t i) const {
        g_key_file_set_int64(file, kIntegerGroup, key, i);
        return kIntegerGroup;
    }
    const char* operator()(double d) const {
        g_key_file_set_double(file, kRealGroup, key, d);
        return kRealGroup;
    }
    const char* operator()(const std::string& s) const {
        g_key_file_set_string(file, kStringGroup, key, s.c_str());
        return kStringGroup;
    }
};

}  // namespace

std::optional<DefaultsMap> ParseDefaultsKeyFile(std::string_view bytes) {
    const KeyFile file = Load(bytes);
    if (!file) {
        return std::nullopt;
    }
    DefaultsMap values;
    // Later groups of the order never replace a key found in an earlier one.
    for (const char* group : kGroups) {
        const GStrvPtr keys(g_key_file_get_keys(file.get(), group, nullptr, nullptr));
        for (char** key = keys.get(); key != nullptr && *key != nullptr; ++key) {
            if (values.contains(std::string_view(*key))) {
                continue;
            }
            if (std::optional<DefaultsValue> value = ReadTyped(file.get(), group, *key)) {
                values.emplace(*key, std::move(*value));
            }
        }
    }
    return values;
}

std::optional<std::string> UpdateDefaultsKeyFile(std::string_view bytes, std::string_view key,
                                                 const DefaultsValue& value) {
    if (!IsStorableKey(key)) {
        return std::nullopt;
    }
    if (const auto* text = std::get_if<std::string>(&value); text && !IsStorableText(*text)) {
        return std::nullopt;
    }
    const KeyFile file = Load(bytes);
    if (!file) {
        return std::nullopt;
    }
    for (const char* group : kGroups) {
        RemoveDuplicateKeys(file.get(), group);
    }
    const std::string name(key);
    const char* group = std::visit(Writer{file.get(), name.c_str()}, value);
    for (const char* other : kGroups) {
        if (other != group) {
            g_key_file_remove_key(file.get(), other, name.c_str(), nullptr);
        }
    }
    gsize length = 0;
    const GCharsPtr data(g_key_file_to_data(file.get(), &length, nullptr));
    return std::string(data.get(), length);
}

}  // namespace kv
