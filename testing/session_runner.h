// SPDX-License-Identifier: MIT
// Replays a session scenario on the real controller, candidate window and keyboard, over the
// memory bodies of the platform: recording clients, a manual clock, settings in memory.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "candidates/candidate_window.h"
#include "controller/input_server.h"
#include "keyboard/keyboard_window.h"
#include "platform/memory/manual_main_queue.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_user_defaults.h"
#include "platform/memory/recording_key_synth.h"
#include "platform/memory/recording_log.h"
#include "platform/memory/recording_text_client.h"
#include "platform/services.h"
#include "settings/preferences_window.h"
#include "testing/session_script.h"
#include "testing/step_report.h"
#include "words/words_window.h"

namespace kv {

struct SessionOptions {
    std::filesystem::path table;                // the table the bundle offers
    std::optional<std::filesystem::path> user;  // copied to where the user dictionary lives
    std::vector<std::pair<std::string, DefaultsValue>> settings;  // stored before the start
};

class MemoryServices;

class SessionRunner {
  public:
    // Installs the memory bodies for its life; the previous ones come back afterwards.
    explicit SessionRunner(const SessionOptions& options);
    ~SessionRunner();
    SessionRunner(const SessionRunner&) = delete;
    SessionRunner& operator=(const SessionRunner&) = delete;

    // Runs one step on the current session (made and activated on first use: "1" at first).
    StepReport run(const SessionStep& step);

    // Makes and activates the session unless it exists.
    void openSession(const std::string& name);
    // Ends the session as the framework does when its client goes away.
    void closeSession(const std::string& name);

    KVInputServer& server() { return *_server; }
    KVCandidateWindow& candidateWindow() { return *_candidates; }
    KVKeyboardWindow& keyboardWindow() { return *_keyboard; }
    KVPreferencesWindow& preferencesWindow() { return *_preferences; }
    KVWordsWindow& wordsWindow() { return *_words; }
    const std::string& currentSession() const { return _current; }
    // The session's client and controller; the session must exist.
    RecordingTextClient& client(const std::string& session) { return *_clients.at(session); }
    KVInputController& controller(const std::string& session);

    // The memory bodies in use.
    MemoryUserDefaults& defaults();
    ManualMainQueue& clock();
    TemporaryLocations& locations();
    RecordingKeySynth& keySynth();
    RecordingWorkspace& workspace();
    RecordingLog& log();

  private:
    struct ShownCounts;

    std::optional<bool> perform(const SessionStep& step);
    bool pressLoneShift();
    void clickKeyboard(const std::string& token);
    void clickRow(int row);
    void pressToolbarButton(ToolbarButton button);
    StepReport report(const SessionStep& step, int beepsBefore, std::size_t writesBefore,
                      const ShownCounts& shownBefore,
                      const std::map<std::string, std::size_t>& insertionsBefore) const;

    std::unique_ptr<MemoryServices> _services;
    std::unique_ptr<KVCandidateWindow> _candidates;
    std::unique_ptr<KVKeyboardWindow> _keyboard;
    std::unique_ptr<KVPreferencesWindow> _preferences;
    std::unique_ptr<KVWordsWindow> _words;
    std::shared_ptr<int> _preferencesShown = std::make_shared<int>(0);
    std::shared_ptr<int> _wordsShown = std::make_shared<int>(0);
    std::unique_ptr<KVInputServer> _server;
    std::map<std::string, std::shared_ptr<RecordingTextClient>> _clients;
    std::string _current = "1";
    bool _capsLockOn = false;
};

}  // namespace kv
