// SPDX-License-Identifier: MIT
#include "controller/input_server.h"

#include <utility>

namespace kv {

KVInputServer::KVInputServer(WindowsProvider windows) : _windowsProvider(std::move(windows)) {}

KVInputServer::~KVInputServer() {
    for (auto& [id, session] : _sessions) {
        session.controller->inputControllerWillClose();
    }
}

KVInputController& KVInputServer::createSession(std::string_view id,
                                                std::shared_ptr<TextClient> client) {
    const auto found = _sessions.find(id);
    if (found != _sessions.end()) {
        return *found->second.controller;
    }
    std::shared_ptr<KVInputController> controller =
        KVInputController::create(std::move(client), _windowsProvider());
    KVInputController& created = *controller;
    _sessions.emplace(std::string(id), Session{std::move(controller)});
    return created;
}

const KVInputServer::Session* KVInputServer::session(std::string_view id) const {
    const auto found = _sessions.find(id);
    return found == _sessions.end() ? nullptr : &found->second;
}

void KVInputServer::activateSession(std::string_view id) {
    const Session* const found = session(id);
    if (found == nullptr || found->secure) {
        return;
    }
    if (id == _focused) {
        _focusedActive = true;
    }
    found->controller->activateServer(found->controller->client());
}

void KVInputServer::deactivateSession(std::string_view id) {
    if (id == _focused) {
        _focusedActive = false;
    }
    if (KVInputController* const controller = this->controller(id)) {
        controller->deactivateServer(controller->client());
    }
}

void KVInputServer::commitComposition(std::string_view id) {
    const Session* const found = session(id);
    if (found != nullptr && !found->secure) {
        found->controller->commitComposition(found->controller->client());
    }
}

void KVInputServer::closeSession(std::string_view id) {
    const auto found = _sessions.find(id);
    if (found == _sessions.end()) {
        return;
    }
    // Held until the close is done, so the controller outlives its own last call.
    const std::shared_ptr<KVInputController> closing = std::move(found->second.controller);
    _sessions.erase(found);
    // The focus goes only after the close, so that the host can still clear what the session
    // showed in its field.
    closing->inputControllerWillClose();
    if (id == _focused) {
        _focused.clear();
        _focusedActive = false;
    }
}

bool KVInputServer::handleEvent(std::string_view id, const KeyEvent& event) {
    const Session* const found = session(id);
    return found != nullptr && !found->secure &&
           found->controller->handleEvent(event, found->controller->client());
}

void KVInputServer::focusSession(std::string_view id) {
    if (!_focused.empty() && _focused != id) {
        unfocusSession(std::string(_focused));
    }
    _focused = id;
    _focusedActive = false;
}

void KVInputServer::activateFocusedSession() {
    if (!_focusedActive && focusedSessionTakesKeys()) {
        activateSession(_focused);
    }
}

void KVInputServer::unfocusSession(std::string_view id) {
    if (_focused.empty() || id != _focused) {
        return;
    }
    if (_focusedActive) {
        deactivateSession(_focused);
    }
    _focused.clear();
    _focusedActive = false;
}

bool KVInputServer::focusedSessionTakesKeys() const {
    const Session* const found = session(_focused);
    return found != nullptr && !found->secure;
}

void KVInputServer::setFieldPurpose(std::string_view id, KVFieldPurpose purpose) {
    const auto found = _sessions.find(id);
    if (found == _sessions.end()) {
        return;
    }
    const bool secure = KVIsSecureField(purpose);
    const bool wasSecure = std::exchange(found->second.secure, secure);
    if (secure && !wasSecure && id == _focused && _focusedActive) {
        // What was typed so far stays out of a password field, and so does the panel.
        deactivateSession(id);
        _windowsProvider().candidates.hide();
    }
}

bool KVInputServer::isSecureField(std::string_view id) const {
    const Session* const found = session(id);
    return found != nullptr && found->secure;
}

void KVInputServer::caretDidMove(std::string_view id) {
    if (id == _focused && _focusedActive) {
        if (KVInputController* const controller = this->controller(id)) {
            controller->clientCaretDidChange();
        }
    }
}

KVInputController* KVInputServer::controller(std::string_view id) const {
    const Session* const found = session(id);
    return found == nullptr ? nullptr : found->controller.get();
}

std::vector<std::string> KVInputServer::sessionIds() const {
    std::vector<std::string> ids;
    for (const auto& [id, session] : _sessions) {
        ids.push_back(id);
    }
    return ids;
}

}  // namespace kv
