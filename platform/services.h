// SPDX-License-Identifier: MIT
// The one place where the process-wide services are reached. The program installs the Linux
// bodies at start; tests install the memory bodies (platform/memory/memory_services.h).
#pragma once

#include <memory>

#include "platform/beep.h"
#include "platform/bundle.h"
#include "platform/input_sources.h"
#include "platform/key_synth.h"
#include "platform/locations.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "platform/notification_center.h"
#include "platform/screens.h"
#include "platform/text_measurer.h"
#include "platform/transforms.h"
#include "platform/user_defaults.h"
#include "platform/workspace.h"

namespace kv {

class Panel;
class PanelBody;

// Makes the body that puts a new panel on screen.
class PanelBodies {
  public:
    virtual ~PanelBodies() = default;
    virtual std::unique_ptr<PanelBody> makeBody(Panel& panel) = 0;
};

// Every service body; a missing one is an error of whoever installs the set.
struct ServiceSet {
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<MainQueue> mainQueue;
    std::unique_ptr<Beep> beep;
    std::unique_ptr<Screens> screens;
    std::unique_ptr<TextMeasurer> textMeasurer;
    std::unique_ptr<PanelBodies> panelBodies;
    std::unique_ptr<Transforms> transforms;
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<Bundle> mainBundle;
    std::unique_ptr<Locations> locations;
    std::unique_ptr<KeySynth> keySynth;
    std::unique_ptr<InputSources> inputSources;
    std::unique_ptr<Log> log;  // optional: standard error when none is installed
};

// Replaces the installed bodies and returns the previous ones, so a test can put them back.
ServiceSet installServices(ServiceSet services);

UserDefaults& standardUserDefaults();
NotificationCenter& defaultCenter();
NotificationCenter& workspaceCenter();
MainQueue& mainQueue();
Beep& systemBeep();
Screens& screens();
TextMeasurer& textMeasurer();
PanelBodies& panelBodies();
Transforms& transforms();
Workspace& sharedWorkspace();
Bundle& mainBundle();
Locations& locations();
KeySynth& keySynth();
InputSources& inputSources();
Log& systemLog();

}  // namespace kv
