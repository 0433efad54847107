// SPDX-License-Identifier: MIT
// The user's settings in a key file (format in defaults_key_file.h). Every write re-reads the
// file, so writes of another process are kept, and replaces it atomically (a temporary file
// renamed over it). A file that cannot be parsed is moved aside, never overwritten, and reads
// as empty; a file that cannot be read at all (a FIFO or a device there, or more than 1 MiB) is
// left alone and writes stay in memory. The folder is made private (0700), the file 0600.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/defaults_key_file.h"
#include "platform/user_defaults.h"

namespace kv {

class KeyFileUserDefaults final : public UserDefaults {
  public:
    explicit KeyFileUserDefaults(std::filesystem::path file);

    // $XDG_CONFIG_HOME/CQ_Input_KV/defaults.conf ($XDG_CONFIG_HOME defaults to ~/.config).
    static std::filesystem::path standardPath();

    std::optional<DefaultsValue> objectForKey(std::string_view key) const override;
    DefaultsWriteProblem setObject(std::string_view key, const DefaultsValue& value) override;

    const std::filesystem::path& path() const { return _file; }

  private:
    // Identifies one version of the file on disk: a rename over it gives a new inode.
    struct Stamp {
        bool exists = false;
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long modifiedSeconds = 0;
        long long modifiedNanoseconds = 0;
        bool operator==(const Stamp&) const = default;
    };

    Stamp currentStamp() const;
    // Re-reads the file when it is not the version last read or written.
    void refresh() const;
    void load(const Stamp& stamp) const;
    void moveAside() const;

    std::filesystem::path _file;
    mutable std::optional<Stamp> _stamp;
    mutable std::string _bytes;
    mutable DefaultsMap _values;
    mutable bool _writable = true;
};

}  // namespace kv
