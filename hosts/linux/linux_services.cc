// SPDX-License-Identifier: MIT
#include "hosts/linux/linux_services.h"

#include "hosts/linux/gtk_panel_body.h"
#include "hosts/linux/ibus_key_synth.h"
#include "platform/linux/gdk_beep.h"
#include "platform/linux/gdk_screens.h"
#include "platform/linux/gio_workspace.h"
#include "platform/linux/glib_main_queue.h"
#include "platform/linux/icu_transforms.h"
#include "platform/linux/journal_log.h"
#include "platform/linux/key_file_user_defaults.h"
#include "platform/linux/pango_text_measurer.h"
#include "platform/linux/plist_bundle.h"
#include "platform/linux/session_log.h"
#include "platform/linux/xdg_locations.h"

namespace kv {

ServiceSet LinuxServiceSet(const std::filesystem::path& bundleRoot) {
    ServiceSet set;
    set.defaults = std::make_unique<KeyFileUserDefaults>(KeyFileUserDefaults::standardPath());
    set.mainQueue = std::make_unique<GLibMainQueue>();
    set.beep = std::make_unique<GdkBeep>();
    set.screens = std::make_unique<GdkScreens>();
    set.textMeasurer = std::make_unique<PangoTextMeasurer>();
    set.panelBodies = std::make_unique<GtkPanelBodies>();
    set.transforms = std::make_unique<IcuTransforms>();
    set.workspace = std::make_unique<GioWorkspace>();
    set.mainBundle = std::make_unique<PlistBundle>(bundleRoot);
    set.locations = std::make_unique<XdgLocations>();
    set.keySynth = std::make_unique<IBusKeySynth>();
    set.log = SessionLog(JournalLog::available());
    return set;
}

}  // namespace kv
