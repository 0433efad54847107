// SPDX-License-Identifier: MIT
// The sessions of the input method: one controller per client session, created, activated,
// deactivated and closed as the framework says. Platform-free, so that the desktop's body, the
// command line and the tests drive the same code.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controller/controller_windows.h"
#include "controller/input_controller.h"
#include "platform/key_event.h"
#include "platform/text_client.h"

namespace kv {

class KVInputServer {
  public:
    using WindowsProvider = std::function<KVControllerWindows()>;

    // The windows are asked for when the first session starts, so the process's windows are
    // made on first use.
    explicit KVInputServer(WindowsProvider windows = KVSharedControllerWindows);
    // Closes every session still open.
    ~KVInputServer();
    KVInputServer(const KVInputServer&) = delete;
    KVInputServer& operator=(const KVInputServer&) = delete;

    // Starts the session `id` on `client`, or returns the controller it already has.
    KVInputController& createSession(std::string_view id, std::shared_ptr<TextClient> client);
    // The framework's focus changes; nothing for an unknown session.
    void activateSession(std::string_view id);
    void deactivateSession(std::string_view id);
    // The framework ends the session's composition (a click in the text): nothing is inserted.
    void commitComposition(std::string_view id);
    // Closes the controller and lets it go.
    void closeSession(std::string_view id);
    // Offers one key event to the session; false (the application gets it) for an unknown one.
    bool handleEvent(std::string_view id, const KeyEvent& event);

    // The controller of `id`, or null.
    KVInputController* controller(std::string_view id) const;
    std::vector<std::string> sessionIds() const;

  private:
    WindowsProvider _windowsProvider;
    std::map<std::string, std::shared_ptr<KVInputController>, std::less<>> _sessions;
};

}  // namespace kv
