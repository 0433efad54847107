# SPDX-License-Identifier: MIT
# The settings window and the words window as GTK3 windows bound to their logic.
pkg_check_modules(KV_GTK REQUIRED IMPORTED_TARGET gtk+-3.0)

add_library(kv_platform_gtk_windows STATIC
    gtk_preferences_window.cc
    gtk_window_support.cc
    gtk_windows.cc
    gtk_words_window.cc
)
add_library(kv::platform_gtk_windows ALIAS kv_platform_gtk_windows)
target_link_libraries(kv_platform_gtk_windows
    PUBLIC kv::preferences_window kv::words
    PRIVATE kv::platform_cairo PkgConfig::KV_GTK
)
