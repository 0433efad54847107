// SPDX-License-Identifier: MIT
// Owners of what GLib and GObject hand out, so that every path releases it.
#pragma once

#include <glib-object.h>

#include <memory>

namespace kv {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
using GCharsPtr = std::unique_ptr<gchar, GFree>;

struct GStrvFree {
    void operator()(gchar** strings) const { g_strfreev(strings); }
};
using GStrvPtr = std::unique_ptr<gchar*, GStrvFree>;

}  // namespace kv
