// SPDX-License-Identifier: MIT
#include "platform/linux/key_file_user_defaults.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>

#include <memory>

#include "platform/file_reading.h"
#include "platform/linux/glib_ptr.h"
#include "platform/linux/xdg_locations.h"
#include "platform/private_directories.h"
#include "platform/services.h"

namespace kv {

namespace {

// Far more than fourteen settings take; a FIFO or a device there is refused without waiting.
constexpr std::uint64_t kLargestSettingsFile = std::uint64_t{1} << 20;

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

DefaultsWriteProblem KeyFileUserDefaults::setObject(std::string_view key,
                                                    const DefaultsValue& value) {
    refresh();
    const std::optional<std::string> updated = UpdateDefaultsKeyFile(_bytes, key, value);
    if (!updated) {
        return "the settings file cannot hold this value of " + std::string(key);
    }
    _values.insert_or_assign(std::string(key), value);
    if (!_writable) {
        return "the settings file " + _file.string() + " cannot be read, so it is not replaced";
    }
    if (!CreatePrivateDirectories(_file.parent_path())) {
        return "the folder " + _file.parent_path().string() + " cannot be made";
    }
    // A temporary file renamed over the old one: a full disk or a read-only folder leaves the
    // old file whole.
    GError* error = nullptr;
    if (!g_file_set_contents_full(_file.c_str(), updated->data(),
                                  static_cast<gssize>(updated->size()),
                                  G_FILE_SET_CONTENTS_CONSISTENT, 0600, &error)) {
        // GLib names its temporary file first and the system's reason last; a person needs the
        // reason and the settings file.
        const std::string message = error != nullptr ? error->message : "cannot be written";
        g_clear_error(&error);
        const std::size_t colon = message.rfind(": ");
        return (colon == std::string::npos ? message : message.substr(colon + 2)) + ": " +
               _file.string();
    }
    _bytes = *updated;
    _stamp = currentStamp();
    return std::nullopt;
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
    BoundedRead read = ReadRegularFile(_file, kLargestSettingsFile);
    if (!read.bytes) {
        // Unreadable: replacing it would lose whatever it holds.
        systemLog().write("the settings file " + _file.string() + " is refused: " + read.problem +
                          "; settings are not saved");
        _writable = false;
        return;
    }
    const std::string& bytes = *read.bytes;
    std::optional<DefaultsMap> values = ParseDefaultsKeyFile(bytes);
    if (!values) {
        moveAside();
        return;
    }
    _bytes = bytes;
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
