# SPDX-License-Identifier: MIT
# Key translation is arithmetic only, so the hosts, the fuzz target and the tests take it alone.
add_library(kv_platform_x_keys STATIC ${CMAKE_CURRENT_LIST_DIR}/x_key_translation.cc)
add_library(kv::platform_x_keys ALIAS kv_platform_x_keys)
target_link_libraries(kv_platform_x_keys PUBLIC kv::platform)
