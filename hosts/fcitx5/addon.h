// SPDX-License-Identifier: MIT
// The input method as fcitx5's engine: one controller per input context (a property fcitx5
// makes and destroys with each context), driven through the platform-free input server. Thin:
// every decision is the controller's; this file only says what fcitx5 reported.
#pragma once

#include <fcitx-utils/handlertable.h>
#include <fcitx/addonfactory.h>
#include <fcitx/event.h>
#include <fcitx/inputcontextproperty.h>
#include <fcitx/inputmethodengine.h>
#include <fcitx/instance.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controller/input_server.h"
#include "hosts/fcitx5/fcitx_desktop_panel.h"
#include "hosts/fcitx5/fcitx_status_actions.h"

namespace kv {

class FcitxSession;
class FcitxMainQueue;

class KVFcitxEngine final : public fcitx::InputMethodEngineV2 {
  public:
    explicit KVFcitxEngine(fcitx::Instance& instance);
    // Closes every session while fcitx5 can still clear what they show.
    ~KVFcitxEngine() override;
    KVFcitxEngine(const KVFcitxEngine&) = delete;
    KVFcitxEngine& operator=(const KVFcitxEngine&) = delete;

    void keyEvent(const fcitx::InputMethodEntry& entry, fcitx::KeyEvent& keyEvent) override;
    // fcitx5 activates the input method of a context that gains the focus or switches to it,
    // and deactivates it on the focus's loss or a switch away.
    void activate(const fcitx::InputMethodEntry& entry, fcitx::InputContextEvent& event) override;
    void deactivate(const fcitx::InputMethodEntry& entry, fcitx::InputContextEvent& event) override;
    // The client wants the composition gone (a click in the text).
    void reset(const fcitx::InputMethodEntry& entry, fcitx::InputContextEvent& event) override;

    // Sessions come and go with fcitx5's contexts.
    void sessionOpened(FcitxSession& session);
    void sessionClosed(FcitxSession& session);
    KVInputServer& server() { return _server; }

  private:
    FcitxSession* sessionOf(const fcitx::InputContext* context) const;
    fcitx::InputContext* focusedContext() const;
    void turnPage(bool forward);
    void toolbarChanged();
    void watchContexts();

    fcitx::Instance& _instance;
    KVInputServer _server;
    std::map<std::string, FcitxSession*, std::less<>> _sessions;
    std::string _lastProgram;
    FcitxMainQueue* _mainQueue = nullptr;  // owned by the installed services
    std::shared_ptr<FcitxPanelLink> _link;
    std::shared_ptr<void> _windows;
    std::unique_ptr<FcitxStatusActions> _actions;
    std::vector<std::unique_ptr<fcitx::HandlerTableEntry<fcitx::EventHandler>>> _watchers;
    // Last, so that the sessions close before everything they use.
    std::unique_ptr<fcitx::InputContextPropertyFactory> _sessionFactory;
};

class KVFcitxEngineFactory final : public fcitx::AddonFactory {
  public:
    fcitx::AddonInstance* create(fcitx::AddonManager* manager) override;
};

}  // namespace kv
