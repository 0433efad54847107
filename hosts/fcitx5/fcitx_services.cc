// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/fcitx_services.h"

#include <dlfcn.h>
#include <fcitx-utils/key.h>
#include <fcitx-utils/keysym.h>

#include "hosts/fcitx5/fcitx_main_queue.h"
#include "platform/key_codes.h"
#include "platform/linux/gio_workspace.h"
#include "platform/linux/icu_transforms.h"
#include "platform/linux/journal_log.h"
#include "platform/linux/key_file_user_defaults.h"
#include "platform/linux/pango_text_measurer.h"
#include "platform/linux/plist_bundle.h"
#include "platform/linux/session_log.h"
#include "platform/linux/xdg_locations.h"
#include "platform/panel.h"

namespace kv {

namespace {

// fcitx5 draws what the user sees; the program's own panels have nothing to draw on.
class NoPanelBody final : public PanelBody {
  public:
    void panelDidChange(const Panel&) override {}
};

class NoPanelBodies final : public PanelBodies {
  public:
    std::unique_ptr<PanelBody> makeBody(Panel&) override { return std::make_unique<NoPanelBody>(); }
};

class FcitxScreens final : public Screens {
  public:
    std::vector<Screen> screens() const override { return {plane()}; }
    std::optional<Screen> mainScreen() const override { return plane(); }

  private:
    static Screen plane() {
        const Rect frame(0, 0, kFcitxScreenHeight, kFcitxScreenHeight);
        return {frame, frame};
    }
};

// fcitx5's own frontends decide whether a refusal makes a sound; the addon makes none.
class SilentBeep final : public Beep {
  public:
    void beep() override {}
};

// Deletes backwards (and the few other keys the controller synthesises) in the focused context,
// forwarded to its application as if typed.
class FcitxKeySynth final : public KeySynth {
  public:
    explicit FcitxKeySynth(std::function<fcitx::InputContext*()> focused)
        : _focused(std::move(focused)) {}

    void postKeyPress(std::uint16_t keyCode) override {
        fcitx::InputContext* const context = _focused ? _focused() : nullptr;
        const fcitx::KeySym sym = SymOf(keyCode);
        if (context == nullptr || sym == FcitxKey_None) {
            return;
        }
        const fcitx::Key key(sym);
        context->forwardKey(key, false);
        context->forwardKey(key, true);
    }

  private:
    static fcitx::KeySym SymOf(std::uint16_t keyCode) {
        switch (keyCode) {
            case KeyCode::Delete:
                return FcitxKey_BackSpace;
            case KeyCode::ForwardDelete:
                return FcitxKey_Delete;
            case KeyCode::Return:
                return FcitxKey_Return;
            default:
                return FcitxKey_None;
        }
    }

    std::function<fcitx::InputContext*()> _focused;
};

}  // namespace

ServiceSet FcitxServiceSet(fcitx::Instance& instance, const std::filesystem::path& bundleRoot,
                           FcitxServiceHooks hooks) {
    ServiceSet set;
    set.defaults = std::make_unique<KeyFileUserDefaults>(KeyFileUserDefaults::standardPath());
    set.mainQueue = std::make_unique<FcitxMainQueue>(instance.eventLoop());
    set.beep = std::make_unique<SilentBeep>();
    set.screens = std::make_unique<FcitxScreens>();
    set.textMeasurer = std::make_unique<PangoTextMeasurer>();
    set.panelBodies = std::make_unique<NoPanelBodies>();
    set.transforms = std::make_unique<IcuTransforms>();
    set.workspace = std::make_unique<GioWorkspace>();
    set.mainBundle = std::make_unique<PlistBundle>(bundleRoot);
    set.locations = std::make_unique<XdgLocations>();
    set.keySynth = std::make_unique<FcitxKeySynth>(std::move(hooks.focusedContext));
    set.log = SessionLog(JournalLog::available());
    return set;
}

std::optional<std::filesystem::path> FcitxBundleRoot() {
    Dl_info info{};
    // Any address inside this library names its file.
    if (dladdr(reinterpret_cast<const void*>(&FcitxBundleRoot), &info) == 0 ||
        info.dli_fname == nullptr) {
        return std::nullopt;
    }
    std::error_code error;
    const std::filesystem::path library = std::filesystem::canonical(info.dli_fname, error);
    if (error || library.parent_path().filename() != "PlugIns") {
        return std::nullopt;
    }
    const std::filesystem::path contents = library.parent_path().parent_path();
    if (contents.filename() != "Contents") {
        return std::nullopt;
    }
    return contents.parent_path();
}

}  // namespace kv
