// SPDX-License-Identifier: MIT
#include "platform/linux/gdk_beep.h"

#include <gdk/gdk.h>

namespace kv {

void GdkBeep::beep() {
    if (GdkDisplay* const display = gdk_display_get_default()) {
        gdk_display_beep(display);
    }
}

}  // namespace kv
