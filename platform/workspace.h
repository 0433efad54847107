// SPDX-License-Identifier: MIT
// The desktop's workspace: opening files in the user's applications, and its notifications.
#pragma once

#include <filesystem>
#include <string_view>

namespace kv {

// Posted on workspaceCenter() whenever any application becomes the active one.
inline constexpr std::string_view NSWorkspaceDidActivateApplicationNotification =
    "NSWorkspaceDidActivateApplicationNotification";

class Workspace {
  public:
    virtual ~Workspace() = default;
    // Opens the file in the application the user has for its type (a text editor for text).
    // False when nothing could be started.
    virtual bool openFile(const std::filesystem::path& file) = 0;
};

}  // namespace kv
