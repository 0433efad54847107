// SPDX-License-Identifier: MIT
// The sessions of the input method: one controller per client session, created, activated,
// deactivated and closed as the framework says; which session has the focus; what a secure
// field and a moved caret mean for a session. Platform-free, so that every desktop's host, the
// command line and the tests drive the same code.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controller/controller_windows.h"
#include "controller/field_purpose.h"
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
    // The framework activates or deactivates a session; nothing for an unknown session, and
    // a secure field is never activated.
    void activateSession(std::string_view id);
    void deactivateSession(std::string_view id);
    // The framework ends the session's composition (a click in the text): nothing is inserted.
    void commitComposition(std::string_view id);
    // Closes the controller and lets it go; a focused session loses the focus once closed.
    void closeSession(std::string_view id);
    // Offers one key event to the session; false (the application gets it) for an unknown
    // session and for a secure field.
    bool handleEvent(std::string_view id, const KeyEvent& event);

    // The focus, as the framework reports it. The session that gains it is activated apart, by
    // activateFocusedSession, since a framework may tell what kind of field it is only after
    // the focus (IBus does); the one that had the focus before loses it first.
    void focusSession(std::string_view id);
    // Activates the focused session unless it is active already or a secure field.
    void activateFocusedSession();
    // `id` loses the focus, and is deactivated if it was activated; nothing unless it has it.
    void unfocusSession(std::string_view id);
    // The session with the focus; empty while none has it.
    const std::string& focusedSessionId() const { return _focused; }
    KVInputController* focusedController() const { return controller(_focused); }
    // Keys reach the focused session: there is one and it is no secure field.
    bool focusedSessionTakesKeys() const;

    // What kind of field the session types into. A field that becomes secure while active
    // drops what it composed and hides the panel.
    void setFieldPurpose(std::string_view id, KVFieldPurpose purpose);
    bool isSecureField(std::string_view id) const;
    // The session's client tells a new caret: the list or the toolbar follows it while the
    // session has the focus and is active; a session still waiting to be activated shows
    // nothing yet.
    void caretDidMove(std::string_view id);

    // The controller of `id`, or null.
    KVInputController* controller(std::string_view id) const;
    std::vector<std::string> sessionIds() const;

  private:
    struct Session {
        std::shared_ptr<KVInputController> controller;
        bool secure = false;
    };

    const Session* session(std::string_view id) const;

    WindowsProvider _windowsProvider;
    std::map<std::string, Session, std::less<>> _sessions;
    std::string _focused;
    bool _focusedActive = false;  // the focused session was activated and not deactivated since
};

}  // namespace kv
