// SPDX-License-Identifier: MIT
// The controller of one client session: turns key events into engine operations, keeps the
// client's marked text, commits, runs typed commands, drives the shared candidate window and the
// toolbar, opens the other windows and reacts to process-wide notifications.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "candidates/candidate_window_delegate.h"
#include "controller/controller_windows.h"
#include "controller/input_menu.h"
#include "engine/cin_table.h"
#include "engine/input_engine.h"
#include "platform/key_event.h"
#include "platform/text_client.h"

namespace kv {

class KVInputController final : public KVCandidateWindowDelegate,
                                public std::enable_shared_from_this<KVInputController> {
  public:
    // Key-down (bit 10) and modifier-change (bit 12) events; no other reaches handleEvent.
    static constexpr std::uint64_t kRecognizedEvents = (1u << 10) | (1u << 12);

    // A controller for the session whose text is `client`: it shares the process's table
    // (loading it if no session has yet), reads the settings, becomes the candidate window's
    // delegate and observes the notifications. Lives in a shared pointer, which the window and
    // the deferred toolbar step hold weakly.
    static std::shared_ptr<KVInputController> create(std::shared_ptr<TextClient> client,
                                                     KVControllerWindows windows);
    ~KVInputController() override;
    KVInputController(const KVInputController&) = delete;
    KVInputController& operator=(const KVInputController&) = delete;

    std::uint64_t recognizedEvents() const { return kRecognizedEvents; }
    // Returns true to consume the key event; false passes it to the client application.
    bool handleEvent(const KeyEvent& event, TextClient* client);
    // The session ends: the window is hidden and the notifications are no longer heard.
    void inputControllerWillClose();

    void loadSettings();
    void userDictionaryChanged();
    void reloadTables();

    // Composition actions, marked text and commit.
    void applyAction(const cqinput::EngineAction& action, TextClient* client);
    void clearMarkedTextForClient(TextClient* client);
    void clearCompositionForClient(TextClient* client);
    // The framework ends the composition (the user clicked elsewhere): the code or typed
    // command is dropped, nothing is inserted, the marked text and the list go away; the
    // toolbar stays with a focused field.
    void commitComposition(TextClient* sender);
    std::string composedString() const;
    std::string originalString() const { return {}; }
    void showRawReading(std::string_view text, TextClient* client);
    void replayCode(std::string_view code, bool trigger, TextClient* client);
    void deleteBackwardInClient(TextClient* client);

    // Typed commands: true when `text` is one of them and has been carried out.
    bool performCommand(std::string_view text, TextClient* client);

    // The candidate list and the toolbar.
    void rebuildCandidateItems();
    void refreshVisibleCandidates();
    void updateCandidateSelection();
    // Shows the toolbar beside the client's caret; with no caret from the client yet, nothing
    // is shown until clientCaretDidChange.
    void showPersistentToolbarForClient(TextClient* client, bool typing);
    // The client reported where its caret is now: the list of the focused session follows it,
    // and a toolbar that waited for a caret appears.
    void clientCaretDidChange();

    // The input menu and the window commands.
    KVMenu menu();
    void openUserDictionary();
    void showPreferences();

    // Activation, notifications and the on-screen keyboard.
    void activateServer(TextClient* sender);
    void deactivateServer(TextClient* sender);
    void settingsChanged();
    void workspaceApplicationActivated();
    void keyboardKeyPressed(std::string_view token);

    // The candidate window's delegate.
    void candidateWindowDidMoveToIndex(KVCandidateWindow& window, std::int64_t index) override;
    void candidateWindowDidChooseIndex(KVCandidateWindow& window, std::int64_t index) override;
    void candidateWindowDidToggleScript(KVCandidateWindow& window) override;
    void candidateWindowDidToggleWidth(KVCandidateWindow& window) override;
    void candidateWindowDidOpenSettings(KVCandidateWindow& window) override;
    void candidateWindowDidOpenWords(KVCandidateWindow& window) override;
    void candidateWindowDidToggleKeyboard(KVCandidateWindow& window) override;

    // The session's client, as the framework gives it.
    TextClient* client() const { return _client.get(); }
    // Whether this session has the keyboard focus: activated last and not deactivated since.
    bool hasFocus() const;
    bool isClosed() const { return _closed; }

    // State, for the server, the tools and tests.
    const std::shared_ptr<cqinput::CinTable>& table() const { return _table; }
    const cqinput::InputEngine* engine() const { return _engine.get(); }
    bool chineseMode() const { return _chineseMode; }
    bool simplifiedMode() const { return _simplifiedMode; }
    bool fullwidthMode() const { return _fullwidthMode; }
    bool letterSelection() const { return _letterSelection; }
    bool toggleWithShift() const { return _toggleWithShift; }
    bool persistentToolbar() const { return _persistentToolbar; }
    std::int64_t toolbarFollowMode() const { return _toolbarFollowMode; }
    bool temporaryFollowPending() const { return _temporaryFollowPending; }
    const std::string& command() const { return _command; }
    std::int64_t candidateIndex() const { return _candidateIndex; }
    const std::vector<std::string>& candidateItems() const { return _candidateItems; }

  private:
    // What a key-down offers, worked out once before the steps that use it.
    struct KeyFacts {
        bool shift = false;
        std::optional<char> codeByte;  // the byte offered to the engine
        bool shiftedLetter = false;    // Shift with a letter types that letter
    };
    // Only create() makes controllers, so that each one lives in a shared pointer.
    struct Passkey {
        explicit Passkey() = default;
    };

  public:
    KVInputController(Passkey, std::shared_ptr<TextClient> client, KVControllerWindows windows);

  private:
    void observeNotifications();

    // Key handling, step by step.
    bool handleModifierChange(const KeyEvent& event, TextClient* client);
    bool handleKeyDown(const KeyEvent& event, TextClient* client);
    static KeyFacts factsOf(const KeyEvent& event);
    bool typeInEnglish(const KeyEvent& event, TextClient* client);
    bool handleChineseKey(const KeyEvent& event, const KeyFacts& facts, TextClient* client);
    // Return, Space, Delete, Escape and the page and row moves while choosing.
    std::optional<bool> moveInList(std::uint16_t keyCode, TextClient* client);
    std::optional<bool> handleChoosingKey(const KeyEvent& event, const KeyFacts& facts,
                                          TextClient* client);
    std::optional<std::int64_t> selectionIndexForKey(const KeyEvent& event,
                                                     const KeyFacts& facts) const;
    bool handleShiftedLetter(const KeyEvent& event, TextClient* client);
    bool handleCommandKey(const KeyEvent& event, const KeyFacts& facts, TextClient* client);
    bool handleComposingKey(const KeyEvent& event, const KeyFacts& facts, TextClient* client);
    bool enterCommandMode(char codeByte, TextClient* client);
    // The collected letters turn out to be no command: they become the engine's code, shown.
    void endCommandAsCode(TextClient* client);
    void insertTyped(std::u16string_view text, TextClient* client);
    void toggleChineseMode(TextClient* client);

    // Choosing: the page shown and moves of the highlight within this session's list.
    // Whether the shared window shows this session's list now, rather than the toolbar, another
    // session's list or nothing.
    bool listIsOnScreen() const;
    // Shows this session's list as it was left: the same page and highlight.
    void showListAgain(TextClient* client);
    std::int64_t candidateCount() const;
    std::int64_t visiblePageStart() const;
    void moveHighlightToNextPageWrapping();
    void applyChoice(std::int64_t index, TextClient* client);

    // The on-screen keyboard's tokens.
    void typeSpaceToken(TextClient* client);
    void typeBackspaceToken(TextClient* client);
    void typeKeyToken(std::string_view token, TextClient* client);

    void showCandidateWindow(const Rect& anchor);
    // Clicks and toolbar presses on the shared window come to this session from now on.
    void becomeDelegate();
    // The marked text shows the engine's reading, or nothing when it composes nothing.
    void showComposition(TextClient* client);
    // Beside the last character of the reading, where a list first appears.
    Rect readingEndAnchor(TextClient* client) const;
    // The engine's reading, or nothing without an engine.
    std::string composedReading() const;
    bool isComposing() const;
    // A candidate or committed text as shown: decoded, and Simplified when that output is on.
    std::u16string displayText(std::string_view utf8) const;
    void endTemporaryFollow(std::uint64_t generation);
    void voidPendingToolbarSteps();
    void setSimplifiedMode(bool on);
    void setFullwidthMode(bool on);
    void toggleKeyboard();

    std::shared_ptr<cqinput::CinTable> _table;
    std::unique_ptr<cqinput::InputEngine> _engine;
    bool _chineseMode = true;
    bool _simplifiedMode = false;
    bool _fullwidthMode = false;
    bool _letterSelection = false;
    bool _toggleWithShift = false;
    bool _shiftPressed = false;
    bool _shiftUsed = false;
    bool _persistentToolbar = true;
    std::int64_t _toolbarFollowMode = 0;
    std::uint64_t _toolbarFollowGeneration = 0;
    bool _temporaryFollowPending = false;
    bool _toolbarAwaitsCaret = false;
    std::string _command;
    std::int64_t _candidateIndex = 0;
    std::vector<std::string> _candidateItems;  // UTF-8, as the window shows them

    std::shared_ptr<TextClient> _client;
    KVControllerWindows _windows;
    bool _closed = false;
};

}  // namespace kv
