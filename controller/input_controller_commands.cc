// SPDX-License-Identifier: MIT
// Typed commands ("cqset", "cqadd", "cqkey", "cqchs", "cqcht"), the input menu and the commands
// that open the program's windows.
#include <array>
#include <utility>

#include "controller/input_controller.h"
#include "platform/key_codes.h"
#include "words/user_dictionary_url.h"

namespace kv {

namespace {

constexpr std::array<std::string_view, 5> kCommands = {"cqset", "cqadd", "cqkey", "cqchs", "cqcht"};

// True when `text` begins at least one command word (the empty text does).
bool IsCommandPrefix(std::string_view text) {
    if (text.size() > 5) {
        return false;
    }
    for (const std::string_view command : kCommands) {
        if (command.substr(0, text.size()) == text) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool KVInputController::enterCommandMode(char codeByte, TextClient* client) {
    // The engine held "cq"; from now on the letters are collected raw.
    _engine->cancel();
    _command = "cq";
    _command.push_back(codeByte);
    showRawReading(_command, client);
    return true;
}

bool KVInputController::handleCommandKey(const KeyEvent& event, const KeyFacts& facts,
                                         TextClient* client) {
    switch (event.keyCode) {
        case KeyCode::Escape:
            _command.clear();
            clearMarkedTextForClient(client);
            return true;
        case KeyCode::Delete:
            _command.pop_back();
            if (_command.empty()) {
                clearMarkedTextForClient(client);
            } else {
                showRawReading(_command, client);
            }
            return true;
        case KeyCode::Space:
        case KeyCode::Return: {
            const std::string text = std::exchange(_command, std::string());
            // Letters that are no command are looked up as the code they spell.
            if (!performCommand(text, client)) {
                replayCode(text, true, client);
            }
            return true;
        }
        default:
            break;
    }
    // Keys without a code byte (Tab, arrows, function keys) are swallowed while collecting.
    if (!facts.codeByte) {
        return true;
    }
    std::string extended = _command + *facts.codeByte;
    if (IsCommandPrefix(extended)) {
        _command = std::move(extended);
        showRawReading(_command, client);
        return true;
    }
    // No command goes on like this: the letters were a code after all, and the key does what it
    // does after that code, so a key the table does not know reaches the application.
    endCommandAsCode(client);
    return handleComposingKey(event, facts, client);
}

void KVInputController::endCommandAsCode(TextClient* client) {
    replayCode(std::exchange(_command, std::string()), false, client);
}

bool KVInputController::performCommand(std::string_view text, TextClient* client) {
    if (text.size() != 5 || !_engine) {
        return false;
    }
    if (text == "cqset") {
        applyAction(_engine->cancel(), client);
        showPreferences();
    } else if (text == "cqadd") {
        applyAction(_engine->cancel(), client);
        openUserDictionary();
    } else if (text == "cqkey") {
        applyAction(_engine->cancel(), client);
        toggleKeyboard();
    } else if (text == "cqchs" || text == "cqcht") {
        // Other sessions pick the script up at their next reading of the settings.
        setSimplifiedMode(text == "cqchs");
        applyAction(_engine->cancel(), client);
    } else {
        return false;
    }
    return true;
}

KVMenu KVInputController::menu() {
    const std::weak_ptr<KVInputController> weak = weak_from_this();
    const auto target = [weak](void (KVInputController::*action)()) {
        return [weak, action] {
            if (const std::shared_ptr<KVInputController> self = weak.lock()) {
                ((*self).*action)();
            }
        };
    };
    return KVMenu{"澄雀KV",
                  {
                      {"重新載入碼表", "", target(&KVInputController::reloadTables)},
                      {"編輯自建詞組…", "", target(&KVInputController::openUserDictionary)},
                      {"澄雀KV 設定…", "", target(&KVInputController::showPreferences)},
                  }};
}

void KVInputController::openUserDictionary() {
    // The editor always has a file to show and to open in a text editor.
    KVUserDictionaryURL();
    _windows.words.showWindow();
}

void KVInputController::showPreferences() {
    _windows.preferences.showWindow();
}

void KVInputController::toggleKeyboard() {
    _windows.keyboard.toggleWindow();
}

}  // namespace kv
