// SPDX-License-Identifier: MIT
#include "words/words_window.h"

#include <optional>

#include "platform/file_reading.h"
#include "platform/services.h"
#include "words/user_dictionary_append.h"
#include "words/user_dictionary_url.h"
#include "words/user_phrase_entry.h"
#include "words/user_phrase_listing.h"

namespace kv {

namespace {

constexpr std::string_view kInvalidInput = "請輸入 1～6 碼且不含空白的字碼，以及非空白詞組。";
constexpr std::string_view kCannotOpen = "無法開啟自建詞組檔案。";
constexpr std::string_view kWriteFailed = "寫入自建詞組時發生錯誤。";

KVWordsWindow::Hooks& SharedHooks() {
    static KVWordsWindow::Hooks hooks;
    return hooks;
}

std::string LoadedMessage(std::size_t count) {
    return "已載入 " + std::to_string(count) + " 筆自建詞組。輸入法會讀取最新內容。";
}

// The whole file, or the empty text when it cannot be read: also a FIFO or a device put in its
// place, which the bounded reader refuses without waiting or filling memory.
std::string ReadFile(const std::optional<std::filesystem::path>& file) {
    if (!file) {
        return {};
    }
    return ReadRegularFile(*file, kLargestTextFile).bytes.value_or(std::string());
}

}  // namespace

KVWordsWindow& KVWordsWindow::sharedWindow() {
    // A function-local static is made once even when first calls race.
    static KVWordsWindow window(SharedHooks());
    return window;
}

void KVWordsWindow::prepareSharedWindow(Hooks hooks) {
    SharedHooks() = std::move(hooks);
}

KVWordsWindow::KVWordsWindow(Hooks hooks) : _tableSource(std::move(hooks.table)) {
    if (hooks.makeBody) {
        _body = hooks.makeBody(*this);
        changed();
    }
}

void KVWordsWindow::showWindow() {
    loadEntries();
    _visible = true;
    if (_body) {
        _body->orderFront();
        _body->focusCodeField();
    }
}

void KVWordsWindow::loadEntries() {
    const std::optional<std::filesystem::path> file = KVUserDictionaryURL();
    _path = file ? file->string() : std::string();
    _codes.clear();
    _phrases.clear();
    for (UserPhraseRow& row : KVListUserPhrases(ReadFile(file))) {
        _codes.push_back(std::move(row.code));
        _phrases.push_back(std::move(row.phrase));
    }
    _status = LoadedMessage(_codes.size());
    changed();
}

void KVWordsWindow::addEntry() {
    const std::shared_ptr<const cqinput::CinTable> table = _tableSource ? _tableSource() : nullptr;
    const std::optional<UserPhraseEntry> entry =
        KVUserPhraseEntry(_codeField, _phraseField, table.get());
    if (!entry) {
        refuse(kInvalidInput);
        return;
    }
    const std::optional<std::filesystem::path> file = KVUserDictionaryURL();
    const AppendResult result =
        file ? KVAppendUserPhraseLine(*file, KVUserPhraseLine(*entry)) : AppendResult::CannotOpen;
    if (result != AppendResult::Appended) {
        refuse(result == AppendResult::CannotOpen ? kCannotOpen : kWriteFailed);
        return;
    }
    _codeField.clear();
    _phraseField.clear();
    loadEntries();
    defaultCenter().postNotificationName(KVUserDictionaryDidChangeNotification);
    if (_body) {
        _body->focusCodeField();
    }
}

void KVWordsWindow::openFile() {
    if (const std::optional<std::filesystem::path> file = KVUserDictionaryURL()) {
        sharedWorkspace().openFile(*file);
    }
}

void KVWordsWindow::reload() {
    loadEntries();
    defaultCenter().postNotificationName(KVUserDictionaryDidChangeNotification);
}

void KVWordsWindow::windowWillClose() {
    _visible = false;
    if (_body) {
        _body->orderOut();
    }
}

void KVWordsWindow::refuse(std::string_view message) {
    systemBeep().beep();
    _status = message;
    changed();
}

void KVWordsWindow::changed() {
    if (_body) {
        _body->windowDidChange(*this);
    }
}

}  // namespace kv
