# SPDX-License-Identifier: MIT
# The addon's side of the companion process: asks it over the session bus to show the windows
# fcitx5's loop cannot run, and turns its signals into the controllers' notifications. Needs
# Fcitx5Utils (found by the caller) for fcitx5's own D-Bus binding.
add_library(kv_host_fcitx5_companion STATIC ${CMAKE_CURRENT_LIST_DIR}/fcitx_companion.cc)
add_library(kv::host_fcitx5_companion ALIAS kv_host_fcitx5_companion)
# Linked into the addon, a shared library.
set_target_properties(kv_host_fcitx5_companion PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_link_libraries(kv_host_fcitx5_companion
    PUBLIC kv::controller Fcitx5::Utils
)
