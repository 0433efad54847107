# SPDX-License-Identifier: MIT
# The Cairo/Pango bodies: text measured with Pango, panels painted into image surfaces.
pkg_check_modules(KV_CAIRO REQUIRED IMPORTED_TARGET cairo pangocairo)

add_library(kv_platform_cairo STATIC
    cairo_image_canvas.cc
    pango_font.cc
    pango_text_measurer.cc
)
add_library(kv::platform_cairo ALIAS kv_platform_cairo)
target_link_libraries(kv_platform_cairo PUBLIC kv::platform PkgConfig::KV_CAIRO)

# The display's monitors and bell.
pkg_check_modules(KV_GDK REQUIRED IMPORTED_TARGET gdk-3.0)
add_library(kv_platform_gdk STATIC gdk_beep.cc gdk_screens.cc)
add_library(kv::platform_gdk ALIAS kv_platform_gdk)
target_link_libraries(kv_platform_gdk PUBLIC kv::platform PRIVATE PkgConfig::KV_GDK)
