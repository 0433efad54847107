// SPDX-License-Identifier: MIT
// Installs the memory bodies for the life of a test and puts the previous ones back after it.
#pragma once

#include "platform/memory/fake_input_sources.h"
#include "platform/memory/manual_main_queue.h"
#include "platform/memory/memory_bodies.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_transforms.h"
#include "platform/memory/memory_user_defaults.h"
#include "platform/memory/recording_key_synth.h"
#include "platform/memory/recording_log.h"
#include "platform/memory/recording_panel.h"
#include "platform/services.h"

namespace kv {

class MemoryServices {
  public:
    MemoryServices();
    ~MemoryServices();
    MemoryServices(const MemoryServices&) = delete;
    MemoryServices& operator=(const MemoryServices&) = delete;

    // The installed bodies, to arrange and to inspect.
    MemoryUserDefaults& defaults() const { return *_defaults; }
    ManualMainQueue& clock() const { return *_clock; }
    RecordingBeep& beep() const { return *_beep; }
    FixedScreens& screens() const { return *_screens; }
    FixedWidthTextMeasurer& measurer() const { return *_measurer; }
    RecordingPanelBodies& panels() const { return *_panels; }
    MemoryTransforms& transforms() const { return *_transforms; }
    RecordingWorkspace& workspace() const { return *_workspace; }
    MemoryBundle& bundle() const { return *_bundle; }
    TemporaryLocations& locations() const { return *_locations; }
    RecordingKeySynth& keySynth() const { return *_keySynth; }
    FakeInputSources& inputSources() const { return *_inputSources; }
    RecordingLog& log() const { return *_log; }

  private:
    MemoryUserDefaults* _defaults;
    ManualMainQueue* _clock;
    RecordingBeep* _beep;
    FixedScreens* _screens;
    FixedWidthTextMeasurer* _measurer;
    RecordingPanelBodies* _panels;
    MemoryTransforms* _transforms;
    RecordingWorkspace* _workspace;
    MemoryBundle* _bundle;
    TemporaryLocations* _locations;
    RecordingKeySynth* _keySynth;
    FakeInputSources* _inputSources;
    RecordingLog* _log;
    ServiceSet _previous;
};

}  // namespace kv
