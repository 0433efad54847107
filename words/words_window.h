// SPDX-License-Identifier: MIT
// The words window's logic: the user dictionary's entries as listed rows, the two fields of a new
// entry, the status line, and the user's actions (add, reload, open in the editor). A body (the
// GTK window in the program, none in tests) shows the values and forwards what the user does.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cin_table.h"

namespace kv {

// Posted on defaultCenter() after an entry was appended and on every reload; no object.
inline constexpr std::string_view KVUserDictionaryDidChangeNotification =
    "KVUserDictionaryDidChangeNotification";

class KVWordsWindow;

// What puts the window on screen. It is told after every change of the values.
class WordsWindowBody {
  public:
    virtual ~WordsWindowBody() = default;
    // The rows, the fields, the status line or the path changed: show them all again.
    virtual void windowDidChange(const KVWordsWindow& window) = 0;
    // Shows the window in front of every other and gives it the keyboard, although the program
    // runs in the background.
    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
    virtual void focusCodeField() = 0;
};

class KVWordsWindow {
  public:
    using BodyMaker = std::function<std::unique_ptr<WordsWindowBody>(KVWordsWindow&)>;
    // The shared table, whose key names a new code must use; nothing while none is loaded.
    using TableSource = std::function<std::shared_ptr<const cqinput::CinTable>()>;

    // What the window needs from the program around it. Without a body the window works on its
    // values alone.
    struct Hooks {
        BodyMaker makeBody;
        TableSource table;
    };

    // The one instance, made on the first call with the hooks given to prepareSharedWindow.
    static KVWordsWindow& sharedWindow();
    // Called once by the program's entry, before the first sharedWindow().
    static void prepareSharedWindow(Hooks hooks);

    // Builds the window hidden and empty; tests make their own.
    explicit KVWordsWindow(Hooks hooks = {});
    KVWordsWindow(const KVWordsWindow&) = delete;
    KVWordsWindow& operator=(const KVWordsWindow&) = delete;

    // Lists the file afresh, brings the window to the front and puts the keyboard in the code
    // field.
    void showWindow();
    // Reads the file (created when missing) into the rows and reports the count.
    void loadEntries();
    // Checks the two fields and appends their entry to the file; a refusal beeps and says why.
    void addEntry();
    // Opens the file in the user's text editor.
    void openFile();
    // Lists the file afresh and tells the controllers to reload it.
    void reload();
    // The close box: the window only leaves the screen.
    void windowWillClose();
    // The fields as the user edits them.
    void setCodeFieldText(std::string_view text) { _codeField = text; }
    void setPhraseFieldText(std::string_view text) { _phraseField = text; }

    const std::vector<std::string>& codes() const { return _codes; }
    const std::vector<std::string>& phrases() const { return _phrases; }
    const std::string& codeFieldText() const { return _codeField; }
    const std::string& phraseFieldText() const { return _phraseField; }
    const std::string& statusText() const { return _status; }
    // The file's full path, as the path label shows it.
    const std::string& pathText() const { return _path; }
    bool isVisible() const { return _visible; }
    const WordsWindowBody* body() const { return _body.get(); }

  private:
    void refuse(std::string_view message);
    void changed();

    std::string _codeField;
    std::string _phraseField;
    std::string _status;
    std::string _path;
    std::vector<std::string> _codes;
    std::vector<std::string> _phrases;
    bool _visible = false;
    TableSource _tableSource;
    std::unique_ptr<WordsWindowBody> _body;
};

}  // namespace kv
