// SPDX-License-Identifier: MIT
// The controller's life: creation on the shared table, settings, reloads, closing, activation
// and the process-wide notifications.
#include "controller/input_controller.h"

#include "controller/shared_table.h"
#include "keyboard/keyboard_window.h"
#include "platform/services.h"
#include "platform/workspace.h"
#include "settings/settings_keys.h"
#include "settings/settings_table.h"
#include "words/words_window.h"

namespace kv {

namespace {

// The session that has the keyboard focus: activated last and not deactivated since. Only an
// identity, never dereferenced.
const KVInputController* gFocusedController = nullptr;

}  // namespace

std::shared_ptr<KVInputController> KVInputController::create(std::shared_ptr<TextClient> client,
                                                             KVControllerWindows windows) {
    auto controller = std::make_shared<KVInputController>(Passkey(), std::move(client), windows);
    // The most recently created controller is the window's delegate until another shows.
    controller->_windows.candidates.setDelegate(controller->weak_from_this());
    controller->observeNotifications();
    return controller;
}

KVInputController::KVInputController(Passkey, std::shared_ptr<TextClient> client,
                                     KVControllerWindows windows)
    : _table(KVSharedTable()), _client(std::move(client)), _windows(windows) {
    if (_table) {
        _engine = std::make_unique<cqinput::InputEngine>(*_table);
    }
    loadSettings();
}

KVInputController::~KVInputController() {
    defaultCenter().removeObserver(this);
    workspaceCenter().removeObserver(this);
    if (gFocusedController == this) {
        gFocusedController = nullptr;
    }
}

void KVInputController::observeNotifications() {
    // The handlers hold the controller weakly: a notification never keeps a session alive.
    const std::weak_ptr<KVInputController> weak = weak_from_this();
    const auto forward = [weak](void (KVInputController::*reaction)()) {
        return [weak, reaction](const Notification&) {
            if (const std::shared_ptr<KVInputController> self = weak.lock()) {
                ((*self).*reaction)();
            }
        };
    };
    defaultCenter().addObserver(this, KVUserDictionaryDidChangeNotification,
                                forward(&KVInputController::userDictionaryChanged));
    defaultCenter().addObserver(this, KVSettingsDidChangeNotification,
                                forward(&KVInputController::settingsChanged));
    defaultCenter().addObserver(this, KVKeyboardKeyPressedNotification,
                                [weak](const Notification& notification) {
                                    if (const auto self = weak.lock()) {
                                        self->keyboardKeyPressed(notification.object);
                                    }
                                });
    workspaceCenter().addObserver(this, NSWorkspaceDidActivateApplicationNotification,
                                  forward(&KVInputController::workspaceApplicationActivated));
}

void KVInputController::inputControllerWillClose() {
    _windows.candidates.hide();
    defaultCenter().removeObserver(this);
    workspaceCenter().removeObserver(this);
    // A deferred toolbar step of a closed session must not show anything.
    _closed = true;
    ++_toolbarFollowGeneration;
    _temporaryFollowPending = false;
    if (gFocusedController == this) {
        gFocusedController = nullptr;
    }
}

void KVInputController::loadSettings() {
    const ControllerSettings settings = KVReadControllerSettings(standardUserDefaults());
    _simplifiedMode = settings.simplifiedOutput;
    _fullwidthMode = settings.fullwidthMode;
    _letterSelection = settings.letterSelection;
    _toggleWithShift = settings.toggleWithShift;
    _persistentToolbar = settings.persistentToolbar;
    _toolbarFollowMode = settings.toolbarFollowMode;
}

void KVInputController::userDictionaryChanged() {
    if (_table) {
        KVReloadUserDictionary();
    }
}

void KVInputController::reloadTables() {
    if (_table) {
        KVReloadTable(*_table);
        KVReloadUserDictionary();
    }
}

bool KVInputController::hasFocus() const {
    return gFocusedController == this;
}

void KVInputController::activateServer(TextClient* sender) {
    gFocusedController = this;
    reloadTables();
    // Another session may have flipped the script or the width since this one last read them;
    // the Chinese/English mode is the session's own and stays.
    loadSettings();
    // The toolbar's buttons act on the session the user has come back to.
    becomeDelegate();
    if (_engine && !_engine->candidates.empty()) {
        showListAgain(sender);
    } else {
        showPersistentToolbarForClient(sender, false);
    }
}

void KVInputController::deactivateServer(TextClient* sender) {
    if (gFocusedController == this) {
        gFocusedController = nullptr;
    }
    voidPendingToolbarSteps();
    _toolbarAwaitsCaret = false;
    clearCompositionForClient(sender);
    _windows.keyboard.hideForFocusLoss();
}

void KVInputController::settingsChanged() {
    voidPendingToolbarSteps();
    loadSettings();
    // Only the focused field shows anything: with none focused (the settings window's Save),
    // nothing of the program stays at a caret left behind.
    if (!hasFocus()) {
        if (gFocusedController == nullptr) {
            _windows.candidates.hide();
        }
        return;
    }
    if (_engine && !_engine->candidates.empty()) {
        refreshVisibleCandidates();
        return;
    }
    if (_persistentToolbar) {
        showPersistentToolbarForClient(client(), false);
    } else {
        _windows.candidates.hide();
    }
}

void KVInputController::workspaceApplicationActivated() {
    voidPendingToolbarSteps();
    _windows.candidates.hide();
    _windows.keyboard.hideForFocusLoss();
}

void KVInputController::voidPendingToolbarSteps() {
    ++_toolbarFollowGeneration;
    _temporaryFollowPending = false;
}

}  // namespace kv
