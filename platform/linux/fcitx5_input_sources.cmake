# SPDX-License-Identifier: MIT
# The fcitx5 body of the input sources: installing a bundle's addon for the user and driving
# fcitx5's controller over the session bus. Needs GIO only, not fcitx5's own libraries.
include_guard(GLOBAL)
pkg_check_modules(KV_FCITX5_SOURCES REQUIRED IMPORTED_TARGET GLOBAL gio-2.0)

add_library(kv_platform_fcitx5_sources STATIC
    ${CMAKE_CURRENT_LIST_DIR}/fcitx5_description.cc
    ${CMAKE_CURRENT_LIST_DIR}/fcitx5_input_sources.cc)
add_library(kv::platform_fcitx5_sources ALIAS kv_platform_fcitx5_sources)
target_link_libraries(kv_platform_fcitx5_sources
    PUBLIC kv::platform PkgConfig::KV_FCITX5_SOURCES
    PRIVATE kv::platform_linux)
