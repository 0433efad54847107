// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/addon.h"

#include <fcitx/addonmanager.h>
#include <fcitx/inputcontextmanager.h>
#include <fcitx/inputpanel.h>
#include <fcitx/userinterface.h>
#include <fcitx/userinterfacemanager.h>
#include <linux/input-event-codes.h>

#include <dbus_public.h>

#include "candidates/candidate_window.h"
#include "hosts/fcitx5/fcitx_main_queue.h"
#include "hosts/fcitx5/fcitx_services.h"
#include "hosts/fcitx5/fcitx_session.h"
#include "hosts/fcitx5/fcitx_windows.h"
#include "platform/linux/x_key_translation.h"
#include "platform/services.h"
#include "platform/workspace.h"

namespace kv {

namespace {

// fcitx5 gives X key codes: the evdev code plus 8.
constexpr int kXKeyCodeOffset = 8;

KVFieldPurpose FieldPurposeOf(const fcitx::InputContext& context) {
    return context.capabilityFlags().testAny(fcitx::CapabilityFlag::PasswordOrSensitive)
               ? KVFieldPurpose::Password
               : KVFieldPurpose::Text;
}

}  // namespace

KVFcitxEngine::KVFcitxEngine(fcitx::Instance& instance) : _instance(instance) {
    const std::filesystem::path bundle = FcitxBundleRoot().value_or(std::filesystem::path());
    ServiceSet services = FcitxServiceSet(instance, bundle, {[this] { return focusedContext(); }});
    _mainQueue = static_cast<FcitxMainQueue*>(services.mainQueue.get());
    installServices(std::move(services));
    if (bundle.empty()) {
        systemLog().write("CQ_Input_KV: the addon must be in CQInputKV.app/Contents/PlugIns");
    }

    _link = std::make_shared<FcitxPanelLink>(FcitxPanelLink{
        [this] { return focusedContext(); },
        [this](bool forward) { turnPage(forward); },
        [this] { toolbarChanged(); },
    });
    KVCandidateWindow& window = KVCandidatePanel();
    window.panel().attachBody(std::make_unique<FcitxDesktopPanel>(window, _link));
    _actions = std::make_unique<FcitxStatusActions>(
        instance.userInterfaceManager(), window, [this](fcitx::InputContext* context) {
            const FcitxSession* const session = sessionOf(context);
            return session != nullptr ? _server.controller(session->id()) : nullptr;
        });

    fcitx::AddonInstance* const dbus = instance.addonManager().addon("dbus", true);
    fcitx::dbus::Bus* const bus = dbus != nullptr ? dbus->call<fcitx::IDBusModule::bus>() : nullptr;
    if (bus != nullptr) {
        _windows = KVPrepareFcitxWindows(*bus, instance.eventLoop(),
                                         bundle / "Contents" / "MacOS" / "CQInputKV");
    }

    watchContexts();
    _sessionFactory =
        std::make_unique<fcitx::FactoryFor<FcitxSession>>([this](fcitx::InputContext& context) {
            // fcitx5 owns the property from here and deletes it with the context.
            return std::make_unique<FcitxSession>(*this, context).release();
        });
    instance.inputContextManager().registerProperty("cqinputkvSession", _sessionFactory.get());
}

KVFcitxEngine::~KVFcitxEngine() {
    // The sessions close while the panel can still reach their contexts.
    _sessionFactory->unregister();
    _watchers.clear();
    KVCandidatePanel().panel().attachBody(panelBodies().makeBody(KVCandidatePanel().panel()));
    _link.reset();
    _mainQueue->stop();
}

void KVFcitxEngine::watchContexts() {
    _watchers.push_back(
        _instance.watchEvent(fcitx::EventType::InputContextCursorRectChanged,
                             fcitx::EventWatcherPhase::Default, [this](fcitx::Event& event) {
                                 auto& changed = static_cast<fcitx::InputContextEvent&>(event);
                                 FcitxSession* const session = sessionOf(changed.inputContext());
                                 // The toolkit reports the caret after the focus and after every
                                 // preedit change.
                                 if (session != nullptr && session->text().updateCaret()) {
                                     _server.caretDidMove(session->id());
                                 }
                             }));
    _watchers.push_back(_instance.watchEvent(
        fcitx::EventType::InputContextCapabilityChanged, fcitx::EventWatcherPhase::Default,
        [this](fcitx::Event& event) {
            auto& changed = static_cast<fcitx::InputContextEvent&>(event);
            const FcitxSession* const session = sessionOf(changed.inputContext());
            if (session == nullptr) {
                return;
            }
            _server.setFieldPurpose(session->id(), FieldPurposeOf(session->context()));
            // A focused field that stops being secure is served again from here on.
            if (session->id() == _server.focusedSessionId()) {
                _server.activateFocusedSession();
            }
        }));
}

void KVFcitxEngine::sessionOpened(FcitxSession& session) {
    _sessions[session.id()] = &session;
}

void KVFcitxEngine::sessionClosed(FcitxSession& session) {
    _sessions.erase(session.id());
}

FcitxSession* KVFcitxEngine::sessionOf(const fcitx::InputContext* context) const {
    if (context == nullptr || !_sessionFactory) {
        return nullptr;
    }
    // Every context has one, made by the factory below.
    return static_cast<FcitxSession*>(
        const_cast<fcitx::InputContext*>(context)->property(_sessionFactory.get()));
}

fcitx::InputContext* KVFcitxEngine::focusedContext() const {
    const auto found = _sessions.find(_server.focusedSessionId());
    return found == _sessions.end() ? nullptr : &found->second->context();
}

void KVFcitxEngine::keyEvent(const fcitx::InputMethodEntry&, fcitx::KeyEvent& keyEvent) {
    const FcitxSession* const session = sessionOf(keyEvent.inputContext());
    if (session == nullptr || session->id() != _server.focusedSessionId() ||
        !_server.focusedSessionTakesKeys()) {
        return;
    }
    const fcitx::Key key = keyEvent.rawKey();
    const int code = key.code() - kXKeyCodeOffset;
    const std::optional<KeyEvent> event =
        TranslateXKey({key.sym(), code > 0 ? static_cast<std::uint32_t>(code) : 0u,
                       static_cast<std::uint32_t>(key.states()) |
                           (keyEvent.isRelease() ? XKeyState::Release : 0u),
                       fcitx::Key::keySymToUnicode(key.sym())});
    if (event && _server.handleEvent(session->id(), *event)) {
        keyEvent.filterAndAccept();
    }
}

void KVFcitxEngine::activate(const fcitx::InputMethodEntry&, fcitx::InputContextEvent& event) {
    fcitx::InputContext* const context = event.inputContext();
    FcitxSession* const session = sessionOf(context);
    if (session == nullptr) {
        return;
    }
    session->open();
    _server.focusSession(session->id());
    session->text().updateCaret();
    _server.setFieldPurpose(session->id(), FieldPurposeOf(*context));
    const std::string& program = context->program();
    if (!_lastProgram.empty() && !program.empty() && program != _lastProgram) {
        workspaceCenter().postNotificationName(NSWorkspaceDidActivateApplicationNotification);
    }
    if (!program.empty()) {
        _lastProgram = program;
    }
    _server.activateFocusedSession();
    _actions->attach(*context);
}

void KVFcitxEngine::deactivate(const fcitx::InputMethodEntry&, fcitx::InputContextEvent& event) {
    fcitx::InputContext* const context = event.inputContext();
    const FcitxSession* const session = sessionOf(context);
    if (session == nullptr) {
        return;
    }
    _server.unfocusSession(session->id());
    // The context no longer shows what the input method put there.
    context->inputPanel().reset();
    context->updatePreedit();
    context->updateUserInterface(fcitx::UserInterfaceComponent::InputPanel);
    FcitxStatusActions::detach(*context);
}

void KVFcitxEngine::reset(const fcitx::InputMethodEntry&, fcitx::InputContextEvent& event) {
    if (const FcitxSession* const session = sessionOf(event.inputContext())) {
        _server.commitComposition(session->id());
    }
}

void KVFcitxEngine::turnPage(bool forward) {
    const auto code = static_cast<std::uint32_t>(forward ? KEY_PAGEDOWN : KEY_PAGEUP);
    if (const std::optional<KeyEvent> event = TranslateXKey({0, code, 0, 0})) {
        _server.handleEvent(_server.focusedSessionId(), *event);
    }
}

void KVFcitxEngine::toolbarChanged() {
    if (fcitx::InputContext* const context = focusedContext()) {
        _actions->update(*context);
    }
}

fcitx::AddonInstance* KVFcitxEngineFactory::create(fcitx::AddonManager* manager) {
    // fcitx5 owns the engine from here.
    return std::make_unique<KVFcitxEngine>(*manager->instance()).release();
}

}  // namespace kv

FCITX_ADDON_FACTORY(kv::KVFcitxEngineFactory)
