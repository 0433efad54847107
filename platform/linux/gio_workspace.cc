// SPDX-License-Identifier: MIT
#include "platform/linux/gio_workspace.h"

#include <gio/gio.h>

#include <memory>

#include "platform/linux/glib_ptr.h"

namespace kv {

bool GioWorkspace::openFile(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (error) {
        return false;
    }
    const GCharsPtr uri(g_filename_to_uri(absolute.c_str(), nullptr, nullptr));
    if (!uri) {
        return false;
    }
    return g_app_info_launch_default_for_uri(uri.get(), nullptr, nullptr) != FALSE;
}

}  // namespace kv
