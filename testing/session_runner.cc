// SPDX-License-Identifier: MIT
#include "testing/session_runner.h"

#include <system_error>

#include "controller/shared_table.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_view.h"
#include "platform/memory/memory_services.h"
#include "platform/workspace.h"
#include "settings/settings_keys.h"
#include "testing/us_key_events.h"
#include "words/user_dictionary_url.h"

namespace kv {

// The memory bodies, with settings that remember every write.
namespace {

// Window bodies that only count how often their window was brought to the front.
class CountingPreferencesBody final : public PreferencesWindowBody {
  public:
    explicit CountingPreferencesBody(std::shared_ptr<int> shown) : _shown(std::move(shown)) {}
    void windowDidChange(const KVPreferencesWindow&) override {}
    void orderFront() override { ++*_shown; }
    void orderOut() override {}

  private:
    std::shared_ptr<int> _shown;
};

class CountingWordsBody final : public WordsWindowBody {
  public:
    explicit CountingWordsBody(std::shared_ptr<int> shown) : _shown(std::move(shown)) {}
    void windowDidChange(const KVWordsWindow&) override {}
    void orderFront() override { ++*_shown; }
    void orderOut() override {}
    void focusCodeField() override {}

  private:
    std::shared_ptr<int> _shown;
};

// What the candidate window shows: the rows of the page only while it lists candidates.
PanelReport PanelReportOf(const KVCandidateWindow& window) {
    PanelReport panel;
    panel.visible = window.panel().isVisible();
    panel.toolbar = window.toolbarOnly();
    if (panel.visible && !panel.toolbar) {
        for (std::size_t r = 0; r < KVCandidateWindow::kPageSize; ++r) {
            if (!window.text(r).hidden) {
                panel.items.push_back(window.text(r).text);
            }
        }
    }
    panel.selected = window.selectedIndex();
    panel.pageStart = window.pageStart();
    panel.page = window.pageLabel().text;
    panel.follow = window.temporaryFollowing();
    return panel;
}

}  // namespace

struct SessionRunner::ShownCounts {
    int preferences = 0;
    int words = 0;
};

SessionRunner::SessionRunner(const SessionOptions& options)
    : _services(std::make_unique<MemoryServices>()) {
    KVResetSharedTable();
    _services->bundle().resources.insert_or_assign("CQInput-KV.cin", options.table);
    for (const auto& [key, value] : options.settings) {
        _services->defaults().values.insert_or_assign(key, value);
    }
    if (options.user) {
        if (const std::optional<std::filesystem::path> support =
                _services->locations().applicationSupportDirectory()) {
            const std::filesystem::path file = KVUserDictionaryIn(*support);
            std::error_code ignored;
            std::filesystem::create_directories(file.parent_path(), ignored);
            std::filesystem::copy_file(*options.user, file,
                                       std::filesystem::copy_options::overwrite_existing, ignored);
        }
    }
    _candidates = std::make_unique<KVCandidateWindow>();
    _keyboard = std::make_unique<KVKeyboardWindow>();
    _words = std::make_unique<KVWordsWindow>(KVWordsWindow::Hooks{
        [shown = _wordsShown](KVWordsWindow&) {
            return std::make_unique<CountingWordsBody>(shown);
        },
        []() -> std::shared_ptr<const cqinput::CinTable> { return KVLoadedSharedTable(); }});
    _preferences = std::make_unique<KVPreferencesWindow>(
        KVPreferencesWindow::Hooks{[shown = _preferencesShown](KVPreferencesWindow&) {
                                       return std::make_unique<CountingPreferencesBody>(shown);
                                   },
                                   [words = _words.get()] { words->showWindow(); }});
    _server = std::make_unique<KVInputServer>([this] {
        return KVControllerWindows{*_candidates, *_keyboard, *_preferences, *_words};
    });
}

SessionRunner::~SessionRunner() {
    _server.reset();
    KVResetSharedTable();
}

void SessionRunner::openSession(const std::string& name) {
    if (_clients.contains(name)) {
        return;
    }
    auto client = std::make_shared<RecordingTextClient>();
    _clients.emplace(name, client);
    _server->createSession(name, client);
    _server->activateSession(name);
}

void SessionRunner::closeSession(const std::string& name) {
    _server->closeSession(name);
    _clients.erase(name);
}

KVInputController& SessionRunner::controller(const std::string& session) {
    return *_server->controller(session);
}

MemoryUserDefaults& SessionRunner::defaults() {
    return _services->defaults();
}

ManualMainQueue& SessionRunner::clock() {
    return _services->clock();
}

TemporaryLocations& SessionRunner::locations() {
    return _services->locations();
}

RecordingKeySynth& SessionRunner::keySynth() {
    return _services->keySynth();
}

RecordingWorkspace& SessionRunner::workspace() {
    return _services->workspace();
}

RecordingLog& SessionRunner::log() {
    return _services->log();
}

StepReport SessionRunner::run(const SessionStep& step) {
    if (step.kind == SessionStepKind::SwitchSession) {
        _current = step.session;
    }
    openSession(_current);
    const int beepsBefore = _services->beep().count;
    const std::size_t writesBefore = _services->defaults().writes.size();
    const ShownCounts shownBefore{*_preferencesShown, *_wordsShown};
    std::map<std::string, std::size_t> insertionsBefore;
    for (const auto& [name, client] : _clients) {
        insertionsBefore[name] = client->insertions.size();
    }
    const std::optional<bool> handled = perform(step);
    StepReport result = report(step, beepsBefore, writesBefore, shownBefore, insertionsBefore);
    result.handled = handled;
    return result;
}

std::optional<bool> SessionRunner::perform(const SessionStep& step) {
    switch (step.kind) {
        case SessionStepKind::Key:
            return _server->handleEvent(_current, step.event);
        case SessionStepKind::Shift:
            return pressLoneShift();
        case SessionStepKind::CapsLock:
            _capsLockOn = !_capsLockOn;
            return _server->handleEvent(_current, capsLockEvent(_capsLockOn));
        case SessionStepKind::KeyboardClick:
            clickKeyboard(step.keyboardToken);
            break;
        case SessionStepKind::RowClick:
            clickRow(step.row);
            break;
        case SessionStepKind::ToolbarButton:
            pressToolbarButton(step.button);
            break;
        case SessionStepKind::Wait:
            _services->clock().advance(step.seconds);
            break;
        case SessionStepKind::Activate:
            _server->activateSession(_current);
            break;
        case SessionStepKind::Deactivate:
            _server->deactivateSession(_current);
            break;
        case SessionStepKind::ApplicationSwitch:
            workspaceCenter().postNotificationName(NSWorkspaceDidActivateApplicationNotification);
            break;
        case SessionStepKind::SettingsSaved:
            defaultCenter().postNotificationName(KVSettingsDidChangeNotification);
            break;
        case SessionStepKind::WordsChanged:
            defaultCenter().postNotificationName(KVUserDictionaryDidChangeNotification);
            break;
        case SessionStepKind::SwitchSession:
            break;
    }
    return std::nullopt;
}

bool SessionRunner::pressLoneShift() {
    const bool down = _server->handleEvent(_current, shiftDownEvent());
    const bool up = _server->handleEvent(_current, shiftUpEvent());
    return down || up;
}

void SessionRunner::clickKeyboard(const std::string& token) {
    // Only a keyboard on screen can be clicked.
    if (!_keyboard->panel().isVisible() || _keyboard->panel().content == nullptr) {
        return;
    }
    const KVKeyboardView& view = _keyboard->keyboardView();
    Rect target;
    if (token == KVKeyboardSpaceToken) {
        target = view.spaceRect();
    } else if (token == KVKeyboardBackspaceToken) {
        target = view.backspaceRect();
    } else {
        for (std::size_t row = 0; row < KVKeyboardRows.size(); ++row) {
            const std::size_t column = KVKeyboardRows[row].find(token);
            if (column != std::string_view::npos) {
                target = view.keyRectForRow(static_cast<std::int64_t>(row),
                                            static_cast<std::int64_t>(column));
            }
        }
    }
    _keyboard->panel().content->mouseDown({target.midX(), target.midY()});
}

void SessionRunner::clickRow(int row) {
    const Button& button = _candidates->rowButton(static_cast<std::size_t>(row));
    // An empty row's button is disabled, and a hidden panel takes no clicks.
    if (_candidates->panel().isVisible() && button.enabled) {
        _candidates->rowClicked(button);
    }
}

void SessionRunner::pressToolbarButton(ToolbarButton button) {
    if (!_candidates->panel().isVisible()) {
        return;
    }
    switch (button) {
        case ToolbarButton::Script:
            _candidates->toggleScript();
            break;
        case ToolbarButton::Width:
            _candidates->toggleWidth();
            break;
        case ToolbarButton::Settings:
            _candidates->openSettings();
            break;
        case ToolbarButton::Words:
            _candidates->openWords();
            break;
        case ToolbarButton::Keyboard:
            _candidates->toggleKeyboard();
            break;
    }
}

StepReport SessionRunner::report(const SessionStep& step, int beepsBefore, std::size_t writesBefore,
                                 const ShownCounts& shownBefore,
                                 const std::map<std::string, std::size_t>& insertionsBefore) const {
    StepReport result;
    result.token = step.token;
    const RecordingTextClient& client = *_clients.at(_current);
    result.marked = client.marked();
    const auto before = insertionsBefore.find(_current);
    const std::size_t from = before == insertionsBefore.end() ? 0 : before->second;
    for (std::size_t i = from; i < client.insertions.size(); ++i) {
        result.inserted += Transforms::utf16ToUtf8(client.insertions[i].text);
    }
    result.beeps = _services->beep().count - beepsBefore;
    result.panel = PanelReportOf(*_candidates);
    result.keyboardVisible = _keyboard->panel().isVisible();
    result.keyboardRequested = _keyboard->requestedVisible();
    if (*_preferencesShown > shownBefore.preferences) {
        result.windows.emplace_back("settings");
    }
    if (*_wordsShown > shownBefore.words) {
        result.windows.emplace_back("words");
    }
    const auto& writes = _services->defaults().writes;
    result.settings.assign(writes.begin() + static_cast<std::ptrdiff_t>(writesBefore),
                           writes.end());
    return result;
}

}  // namespace kv
