// SPDX-License-Identifier: MIT
#include "controller/input_server.h"

namespace kv {

KVInputServer::KVInputServer(WindowsProvider windows) : _windowsProvider(std::move(windows)) {}

KVInputServer::~KVInputServer() {
    for (auto& [id, controller] : _sessions) {
        controller->inputControllerWillClose();
    }
}

KVInputController& KVInputServer::createSession(std::string_view id,
                                                std::shared_ptr<TextClient> client) {
    const auto found = _sessions.find(id);
    if (found != _sessions.end()) {
        return *found->second;
    }
    std::shared_ptr<KVInputController> controller =
        KVInputController::create(std::move(client), _windowsProvider());
    KVInputController& created = *controller;
    _sessions.emplace(std::string(id), std::move(controller));
    return created;
}

void KVInputServer::activateSession(std::string_view id) {
    if (KVInputController* const session = controller(id)) {
        session->activateServer(session->client());
    }
}

void KVInputServer::deactivateSession(std::string_view id) {
    if (KVInputController* const session = controller(id)) {
        session->deactivateServer(session->client());
    }
}

void KVInputServer::commitComposition(std::string_view id) {
    if (KVInputController* const session = controller(id)) {
        session->commitComposition(session->client());
    }
}

void KVInputServer::closeSession(std::string_view id) {
    const auto found = _sessions.find(id);
    if (found == _sessions.end()) {
        return;
    }
    // Held until the close is done, so the controller outlives its own last call.
    const std::shared_ptr<KVInputController> closing = std::move(found->second);
    _sessions.erase(found);
    closing->inputControllerWillClose();
}

bool KVInputServer::handleEvent(std::string_view id, const KeyEvent& event) {
    KVInputController* const session = controller(id);
    return session != nullptr && session->handleEvent(event, session->client());
}

KVInputController* KVInputServer::controller(std::string_view id) const {
    const auto found = _sessions.find(id);
    return found == _sessions.end() ? nullptr : found->second.get();
}

std::vector<std::string> KVInputServer::sessionIds() const {
    std::vector<std::string> ids;
    for (const auto& [id, controller] : _sessions) {
        ids.push_back(id);
    }
    return ids;
}

}  // namespace kv
