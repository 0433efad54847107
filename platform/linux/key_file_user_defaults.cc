// SPDX-License-Identifier: MIT
#include "platform/linux/key_file_user_defaults.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>

#include <memory>

#include "platform/linux/glib_ptr.h"
#include "platform/linux/xdg_locations.h"
#include "platform/services.h"

namespace kv {

namespace {

std::optional<std::string> ReadFile(const std::filesystem::path& file) {
    char* contents = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(file.c_str(), &contents, &length, nullptr)) {
        return std::nullopt;
    }
    const GCharsPtr owned(contents);
    return std::string(contents, length);
}

std::string CorruptSuffix() {
    GDateTime* now = g_date_time_new_now_local();
    const GCharsPtr text(g_date_time_format(now, "%Y%m%d-%H%M%S"));
    g_date_time_unref(now);
    return std::string(".corrupt-") + (text ? text.get() : "unknown");
}

}  // namespace

KeyFileUserDefaults::KeyFileUserDefaults(std::filesystem::path file) : _file(std::move(file)) {}

std::filesystem::path KeyFileUserDefaults::standardPath() {
    return XdgConfigHome() / "CQ_Input_KV" / "defaults.conf";
}

std::optional<DefaultsValue> KeyFileUserDefaults::objectForKey(std::string_view key) const {
    refresh();
    const auto found = _values.find(key);
    return found == _values.end() ? std::nullopt : std::optional(found->second);
}

void KeyFileUserDefaults::setObject(std::string_view key, const DefaultsValue& value) {
    refresh();
    const std::optional<std::string> updated = UpdateDefaultsKeyFile(_bytes, key, value);
    if (!updated) {
        return;  // a key or text the file cannot hold
    }
    _values.insert_or_assign(std::string(key), value);
    if (!_writable) {
        return;
    }
    std::error_code ignored;
    std::filesystem::create_directories(_file.parent_path(), ignored);
    if (g_file_set_contents_full(_file.c_str(), updated->data(),
                                 static_cast<gssize>(updated->size()),
                                 G_FILE_SET_CONTENTS_CONSISTENT, 0600, nullptr)) {
        _bytes = *updated;
        _stamp = currentStamp();
    }
}

KeyFileUserDefaults::Stamp KeyFileUserDefaults::currentStamp() const {
    GStatBuf info;
    if (g_stat(_file.c_str(), &info) != 0) {
        return {};
    }
    return {true,
            static_cast<unsigned long long>(info.st_dev),
            static_cast<unsigned long long>(info.st_ino),
            static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec),
            static_cast<long long>(info.st_mtim.tv_nsec)};
}

void KeyFileUserDefaults::refresh() const {
    const Stamp stamp = currentStamp();
    if (_stamp && *_stamp == stamp) {
        return;
    }
    load(stamp);
}

void KeyFileUserDefaults::load(const Stamp& stamp) const {
    _stamp = stamp;
    _bytes.clear();
    _values.clear();
    _writable = true;
    if (!stamp.exists) {
        return;
    }
    const std::optional<std::string> bytes = ReadFile(_file);
    if (!bytes) {
        // Unreadable: replacing it would lose whatever it holds.
        _writable = false;
        return;
    }
    std::optional<DefaultsMap> values = ParseDefaultsKeyFile(*bytes);
    if (!values) {
        moveAside();
        return;
    }
    _bytes = *bytes;
    _values = std::move(*values);
}

void KeyFileUserDefaults::moveAside() const {
    const std::string base = _file.string() + CorruptSuffix();
    std::filesystem::path target = base;
    std::error_code error;
    for (int n = 2; std::filesystem::exists(target, error); ++n) {
        target = base + "-" + std::to_string(n);
    }
    std::filesystem::rename(_file, target, error);
    if (error) {
        systemLog().write("the settings file " + _file.string() +
                          " cannot be read and cannot be moved aside; settings are not saved");
        _writable = false;
        return;
    }
    systemLog().write("the settings file " + _file.string() + " cannot be read; moved aside to " +
                      target.string());
    _stamp = currentStamp();
}

}  // namespace kv
