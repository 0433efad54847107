// SPDX-License-Identifier: MIT
#include "platform/memory/memory_services.h"

namespace kv {

namespace {

// Hands a body over to the set and keeps a plain pointer to it for the test.
template <typename Body, typename Slot>
Body* Install(Slot& slot) {
    auto body = std::make_unique<Body>();
    Body* kept = body.get();
    slot = std::move(body);
    return kept;
}

}  // namespace

MemoryServices::MemoryServices() {
    ServiceSet set;
    _defaults = Install<MemoryUserDefaults>(set.defaults);
    _clock = Install<ManualMainQueue>(set.mainQueue);
    _beep = Install<RecordingBeep>(set.beep);
    _screens = Install<FixedScreens>(set.screens);
    _measurer = Install<FixedWidthTextMeasurer>(set.textMeasurer);
    _panels = Install<RecordingPanelBodies>(set.panelBodies);
    _transforms = Install<MemoryTransforms>(set.transforms);
    _workspace = Install<RecordingWorkspace>(set.workspace);
    _bundle = Install<MemoryBundle>(set.mainBundle);
    _locations = Install<TemporaryLocations>(set.locations);
    _keySynth = Install<RecordingKeySynth>(set.keySynth);
    _inputSources = Install<FakeInputSources>(set.inputSources);
    _log = Install<RecordingLog>(set.log);
    _previous = installServices(std::move(set));
}

MemoryServices::~MemoryServices() {
    // Observers of one test must not hear the next test's notifications.
    defaultCenter() = NotificationCenter();
    workspaceCenter() = NotificationCenter();
    installServices(std::move(_previous));
}

}  // namespace kv
