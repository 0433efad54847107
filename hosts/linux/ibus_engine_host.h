// SPDX-License-Identifier: MIT
// What one IBus engine object does with the engine's calls: the sessions of its input contexts,
// their keys, focus, caret, surrounding text and the input menu as properties. Thin: every
// decision is the controller's.
#pragma once

#include <ibus.h>

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "controller/input_server.h"
#include "hosts/linux/ibus_engine_link.h"
#include "hosts/linux/ibus_text_client.h"

namespace kv {

class IBusEngineHost {
  public:
    explicit IBusEngineHost(IBusEngine* engine);
    // Closes every session of the engine.
    ~IBusEngineHost();
    IBusEngineHost(const IBusEngineHost&) = delete;
    IBusEngineHost& operator=(const IBusEngineHost&) = delete;

    // The context the engine is focused on when it was created, before the daemon learned that
    // it takes focus ids; the first focus-out by id names it.
    static constexpr std::string_view kUnnamedContext = "(unnamed context)";

    bool processKeyEvent(std::uint32_t keyval, std::uint32_t keycode, std::uint32_t state);
    void focusIn(std::string_view path, std::string_view clientName);
    void focusOut(std::string_view path);
    void setCursorLocation(int x, int y, int width, int height);
    void setSurroundingText(IBusText* text, std::uint32_t cursor, std::uint32_t anchor);
    void setContentType(std::uint32_t purpose);
    // The client wants the composition gone (GTK on a click in the text, Qt on edits).
    void reset();
    void enable();
    void disable();
    void propertyActivate(std::string_view name);
    // The desktop's own candidate panel: its arrows and a click on a row.
    void pressKey(std::uint32_t evdevCode);
    void candidateClicked(unsigned index);
    std::string focusedPath() const { return _server.focusedSessionId(); }

    // Sessions kept for contexts that are not focused; beyond this the longest unfocused closes,
    // since IBus never tells an engine that a context went away.
    static constexpr std::size_t kMaxSessions = 64;

  private:
    IBusTextClient* focusedClient() const;
    // The session whose input menu the desktop shows: the focused one, or IBus's own context's
    // while no field has focus.
    KVInputController* menuController() const;
    void ensureSession(const std::string& id);
    // Tells the candidate window's accessible status the focused session's modes.
    void noteModes() const;
    void activatePending();
    void closeOldestSessions();
    void registerMenu();
    // Puts the candidate list in the program's own window or hands it to the desktop.
    void choosePanel();

    std::shared_ptr<IBusEngineLink> _link;
    KVInputServer _server;
    std::map<std::string, std::shared_ptr<IBusTextClient>, std::less<>> _clients;
    std::list<std::string> _recent;  // least recently focused first
    std::string _lastClientName;
    std::string _menuPath;
    bool _activationPending = false;
    // Empty until the first choice: every engine object attaches its own panel body.
    std::optional<bool> _desktopPanel;
    guint _activationSource = 0;
};

}  // namespace kv
