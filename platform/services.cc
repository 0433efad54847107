// SPDX-License-Identifier: MIT
#include "platform/services.h"

#include <cstdio>
#include <cstdlib>

namespace kv {

namespace {

ServiceSet& Installed() {
    static ServiceSet services;
    return services;
}

template <typename T>
T& Require(const std::unique_ptr<T>& body, const char* name) {
    if (!body) {
        // A programming error of the start-up code or the test fixture, not a user's.
        std::fprintf(stderr, "CQ_Input_KV: the %s service is not installed\n", name);
        std::abort();
    }
    return *body;
}

}  // namespace

ServiceSet installServices(ServiceSet services) {
    ServiceSet previous = std::move(Installed());
    Installed() = std::move(services);
    return previous;
}

UserDefaults& standardUserDefaults() {
    return Require(Installed().defaults, "user defaults");
}

NotificationCenter& defaultCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter& workspaceCenter() {
    static NotificationCenter center;
    return center;
}

MainQueue& mainQueue() {
    return Require(Installed().mainQueue, "main queue");
}
Beep& systemBeep() {
    return Require(Installed().beep, "beep");
}
Screens& screens() {
    return Require(Installed().screens, "screens");
}
TextMeasurer& textMeasurer() {
    return Require(Installed().textMeasurer, "text measurer");
}
PanelBodies& panelBodies() {
    return Require(Installed().panelBodies, "panel");
}
Transforms& transforms() {
    return Require(Installed().transforms, "transforms");
}
Workspace& sharedWorkspace() {
    return Require(Installed().workspace, "workspace");
}
Bundle& mainBundle() {
    return Require(Installed().mainBundle, "main bundle");
}
Locations& locations() {
    return Require(Installed().locations, "locations");
}
KeySynth& keySynth() {
    return Require(Installed().keySynth, "key synthesis");
}
InputSources& inputSources() {
    return Require(Installed().inputSources, "input sources");
}

Log& systemLog() {
    static StandardErrorLog fallback;
    Log* const installed = Installed().log.get();
    return installed != nullptr ? *installed : fallback;
}

}  // namespace kv
