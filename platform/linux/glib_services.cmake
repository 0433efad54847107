# SPDX-License-Identifier: MIT
# The bodies of the services that need no window: settings file, main loop, XDG directories,
# bundle metadata, ICU text transforms and GIO's default applications.
pkg_check_modules(KV_PLATFORM_GIO REQUIRED IMPORTED_TARGET GLOBAL glib-2.0 gio-2.0)
pkg_check_modules(KV_PLATFORM_ICU REQUIRED IMPORTED_TARGET GLOBAL icu-uc icu-i18n)
pkg_check_modules(KV_PLATFORM_PLIST REQUIRED IMPORTED_TARGET GLOBAL libplist-2.0)

add_library(kv_platform_linux STATIC
    ${CMAKE_CURRENT_LIST_DIR}/file_log.cc
    ${CMAKE_CURRENT_LIST_DIR}/journal_log.cc
    ${CMAKE_CURRENT_LIST_DIR}/session_log.cc
    ${CMAKE_CURRENT_LIST_DIR}/defaults_key_file.cc
    ${CMAKE_CURRENT_LIST_DIR}/gio_workspace.cc
    ${CMAKE_CURRENT_LIST_DIR}/glib_main_queue.cc
    ${CMAKE_CURRENT_LIST_DIR}/icu_transforms.cc
    ${CMAKE_CURRENT_LIST_DIR}/info_plist.cc
    ${CMAKE_CURRENT_LIST_DIR}/key_file_user_defaults.cc
    ${CMAKE_CURRENT_LIST_DIR}/plist_bundle.cc
    ${CMAKE_CURRENT_LIST_DIR}/replaced_file.cc
    ${CMAKE_CURRENT_LIST_DIR}/xdg_locations.cc
)
add_library(kv::platform_linux ALIAS kv_platform_linux)
target_link_libraries(kv_platform_linux
    PUBLIC kv::platform
    PRIVATE PkgConfig::KV_PLATFORM_GIO PkgConfig::KV_PLATFORM_ICU PkgConfig::KV_PLATFORM_PLIST)
