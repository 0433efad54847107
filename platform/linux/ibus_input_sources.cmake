# SPDX-License-Identifier: MIT
# The IBus body of the input sources: registering a bundle's component with the daemon.
include_guard(GLOBAL)
pkg_check_modules(KV_IBUS_SOURCES REQUIRED IMPORTED_TARGET GLOBAL ibus-1.0 gio-2.0)
pkg_get_variable(KV_IBUS_SOURCES_DATADIR ibus-1.0 pkgdatadir)

add_library(kv_platform_ibus_sources STATIC ${CMAKE_CURRENT_LIST_DIR}/ibus_input_sources.cc)
add_library(kv::platform_ibus_sources ALIAS kv_platform_ibus_sources)
target_compile_definitions(kv_platform_ibus_sources PRIVATE
    KV_IBUS_SYSTEM_COMPONENT_DIR="${KV_IBUS_SOURCES_DATADIR}/component")
target_link_libraries(kv_platform_ibus_sources
    PUBLIC kv::platform PkgConfig::KV_IBUS_SOURCES
    PRIVATE kv::platform_linux)
