// SPDX-License-Identifier: MIT
// The words window as its user sees it: the listed entries, what an add writes to the file or
// refuses, the status line, and the notification the controllers reload on.
#include "words/words_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/memory/memory_services.h"
#include "tests/support/small_disk.h"
#include "words/user_dictionary_url.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kInvalid = "請輸入 1～6 碼且不含空白的字碼，以及非空白詞組。";

std::string Repeated(std::string_view text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// Remembers what the window asked of its body.
struct RecordingBody final : WordsWindowBody {
    void windowDidChange(const KVWordsWindow&) override { ++changes; }
    void orderFront() override { calls.push_back("front"); }
    void orderOut() override { calls.push_back("out"); }
    void focusCodeField() override { calls.push_back("focus"); }
    int changes = 0;
    std::vector<std::string> calls;
};

class WordsWindow : public ::testing::Test {
  protected:
    WordsWindow() {
        // A table whose keys are the letters a to z; no "#", no digits.
        const fs::path cin = services.locations().root() / "table.cin";
        std::string keys;
        for (char c = 'a'; c <= 'z'; ++c) {
            keys += std::string(1, c) + " " + std::string(1, static_cast<char>(c - 32)) + "\n";
        }
        write(cin,
              "%keyname begin\n" + keys + "%keyname end\n%chardef begin\na 日\n%chardef end\n");
        EXPECT_TRUE(table->load(cin));
        window = std::make_unique<KVWordsWindow>(KVWordsWindow::Hooks{
            [this](KVWordsWindow&) {
                auto made = std::make_unique<RecordingBody>();
                body = made.get();
                return made;
            },
            [this] { return std::shared_ptr<const cqinput::CinTable>(table); }});
        defaultCenter().addObserver(this, KVUserDictionaryDidChangeNotification,
                                    [this](const Notification&) { ++posted; });
    }

    fs::path file() const {
        return services.locations().root() / "Application Support" / "CQ_Input_KV" /
               "CQ_Input_KV_User.txt";
    }
    static void write(const fs::path& path, std::string_view text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string contents() const {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void add(std::string_view code, std::string_view phrase) {
        window->setCodeFieldText(code);
        window->setPhraseFieldText(phrase);
        window->addEntry();
    }
    // The phrases of `code` once the input method's loader has read the file; the table itself
    // has candidates for "a" only.
    std::vector<std::string> loaded(std::string_view code) {
        EXPECT_TRUE(table->loadUserDictionary(file()));
        return table->lookup(code);
    }

    MemoryServices services;
    std::shared_ptr<cqinput::CinTable> table = std::make_shared<cqinput::CinTable>();
    std::unique_ptr<KVWordsWindow> window;
    RecordingBody* body = nullptr;
    int posted = 0;
};

TEST_F(WordsWindow, ShowingCreatesTheFileAndListsNothing) {
    window->showWindow();
    EXPECT_TRUE(fs::is_regular_file(file()) && fs::file_size(file()) == 0);
    EXPECT_EQ(window->statusText(), "已載入 0 筆自建詞組。輸入法會讀取最新內容。");
    EXPECT_EQ(window->pathText(), file().string());
    EXPECT_EQ(body->calls, (std::vector<std::string>{"front", "focus"}));
    EXPECT_EQ(posted, 0) << "showing is no change";
}

TEST_F(WordsWindow, AddWritesTheLowerCaseCodeAndKeepsInnerBlanks) {
    write(file(), "ab 甲\n");
    window->showWindow();
    add("  ABC ", "\t雲階  候選 詞 ");
    EXPECT_EQ(contents(), "ab 甲\nabc 雲階  候選 詞\n");
    EXPECT_EQ(window->codes(), (std::vector<std::string>{"ab", "abc"}));
    EXPECT_EQ(window->phrases(), (std::vector<std::string>{"甲", "雲階  候選 詞"}));
    EXPECT_EQ(window->statusText(), "已載入 2 筆自建詞組。輸入法會讀取最新內容。");
    EXPECT_EQ(window->codeFieldText(), "");
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(loaded("abc"), std::vector<std::string>{"雲階  候選 詞"});
    add("a*?", "萬用");
    EXPECT_EQ(window->codes().back(), "a*?");
    // A thousand characters is the longest phrase taken.
    add("ab", Repeated("長", 1000));
    EXPECT_EQ(loaded("ab"), (std::vector<std::string>{"甲", Repeated("長", 1000)}));
}

TEST_F(WordsWindow, BadEntriesAreRefusedAndTheFileIsUnchanged) {
    write(file(), "ab 甲\n");
    window->showWindow();
    struct Case {
        std::string code;
        std::string phrase;
    };
    const std::vector<Case> cases = {
        {"abcdefg", "七碼"},                // seven characters
        {"ab c", "內有空白"},               // a blank inside the code
        {"", "沒有字碼"},                   // empty code
        {"abc", ""},                        // empty phrase
        {"a#", "不是字根"},                 // not a key of the table
        {"a1", "數字"},                     // nor is a digit
        {"日", "非 ASCII"},                 // not printable ASCII
        {"abc", "兩\n行"},                  // would become two lines
        {"abc", "兩\u2028行"},              // a Unicode line separator as well
        {"abc", std::string("有\0零", 7)},  // a NUL would cut the committed text
        {"abc", Repeated("長", 1001)},      // longer than any real phrase
    };
    int beeps = 0;
    for (const Case& c : cases) {
        add(c.code, c.phrase);
        EXPECT_EQ(services.beep().count, ++beeps) << c.code << " / " << c.phrase;
        EXPECT_EQ(window->statusText(), kInvalid) << c.code << " / " << c.phrase;
        EXPECT_TRUE(window->codeFieldText() == c.code && window->phraseFieldText() == c.phrase)
            << "the fields keep their text";
    }
    EXPECT_EQ(contents(), "ab 甲\n");
    EXPECT_EQ(posted, 0);
}

TEST_F(WordsWindow, AnAddOnAFullDiskLeavesTheFileAsItWas) {
    const kvtest::SmallDisk disk(services.locations().root() / "Application Support");
    // The file's last page is nearly full: a longer line lands in part, then the disk is full.
    std::string before = "ab 甲\n";
    while (before.size() < 3900) {
        before += "abc " + Repeated("乙", 30) + "\n";
    }
    write(file(), before);
    disk.fill();
    window->showWindow();
    // A cut character would refuse the whole file; an ASCII phrase would leave a wrong entry.
    for (const std::string& phrase : {Repeated("測試", 40), Repeated("PARTIAL ", 30)}) {
        add("vvvvvw", phrase);
        EXPECT_EQ(window->statusText(), "寫入自建詞組時發生錯誤。");
        EXPECT_TRUE(contents() == before) << "byte for byte as it was: " << contents().size();
    }
    EXPECT_EQ(posted, 0);
    EXPECT_EQ(window->codeFieldText(), "vvvvvw") << "the fields keep the entry to try again";
}

TEST_F(WordsWindow, AFifoOrADeviceAsTheFileRefusesAnAddWithoutWaiting) {
    // Listing them without blocking is the hostile-file suite's; the time bound fails a wait.
    fs::create_directories(file().parent_path());
    ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    add("ab", "甲");
    EXPECT_EQ(window->statusText(), "無法開啟自建詞組檔案。");
    fs::remove(file());
    fs::create_symlink("/dev/zero", file());
    add("ab", "甲");
    EXPECT_EQ(window->statusText(), "無法開啟自建詞組檔案。");
    EXPECT_EQ(posted, 0);
}

TEST_F(WordsWindow, WhatItCreatesOnlyTheUserReads) {
    const mode_t old = ::umask(022);
    window->showWindow();
    ::umask(old);
    const auto mode = [](const fs::path& p) { return fs::status(p).permissions(); };
    EXPECT_EQ(mode(file()), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(mode(file().parent_path()), fs::perms::owner_all);
    // A file the user made keeps its mode, and an add keeps it too.
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    add("ab", "甲");
    EXPECT_EQ(mode(file()), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(WordsWindow, AMissingLineEndIsAddedBeforeTheNewEntry) {
    write(file(), "ab 甲\r\nabc 乙");
    EXPECT_EQ(KVUserDictionaryURL(), file());  // which never touches a file that is there
    add("abcd", "丙");
    EXPECT_EQ(contents(), "ab 甲\r\nabc 乙\nabcd 丙\n");
    EXPECT_EQ(window->codes(), (std::vector<std::string>{"ab", "abc", "abcd"}));
    EXPECT_EQ(loaded("abc"), std::vector<std::string>{"乙"});
    EXPECT_EQ(loaded("abcd"), std::vector<std::string>{"丙"});

    write(file(), "ab 甲\r");  // a last CR already ends the line
    add("b", "丁");
    EXPECT_EQ(contents(), "ab 甲\rb 丁\n");
}

TEST_F(WordsWindow, ListingIsMoreLenientThanTheLoader) {
    write(file(),
          "\xEF\xBB\xBF"
          "ABC 大寫\n"
          "noblank\n"
          " lead 前有空白\n"
          "blank \t \n"
          "\n"
          "#x 註解？\r\n"
          "tab\t定位\u3000字元\u3000\r"
          "sep 分隔\u2028last 最後");
    window->showWindow();
    EXPECT_EQ(window->codes(), (std::vector<std::string>{"ABC", "#x", "tab", "sep", "last"}));
    EXPECT_EQ(window->phrases(),
              (std::vector<std::string>{"大寫", "註解？", "定位\u3000字元", "分隔", "最後"}));
    EXPECT_EQ(window->statusText(), "已載入 5 筆自建詞組。輸入法會讀取最新內容。");

    write(file(), "abc \xFF\xFE\n");  // not UTF-8: lists as empty
    window->reload();
    EXPECT_TRUE(window->codes().empty());
    EXPECT_EQ(window->statusText(), "已載入 0 筆自建詞組。輸入法會讀取最新內容。");
}

TEST_F(WordsWindow, DeletedFileIsCreatedAgain) {
    window->showWindow();
    fs::remove_all(file().parent_path());
    window->reload();
    EXPECT_TRUE(fs::exists(file()));
    EXPECT_EQ(contents(), "");

    fs::remove(file());
    window->openFile();
    EXPECT_TRUE(fs::exists(file()));
    EXPECT_EQ(services.workspace().opened, std::vector<fs::path>{file()});
}

TEST_F(WordsWindow, ReloadShowsEditsAndTellsTheControllers) {
    window->showWindow();
    write(file(), "ab 甲\nab 乙\n");
    window->reload();
    EXPECT_EQ(window->phrases(), (std::vector<std::string>{"甲", "乙"}));
    EXPECT_EQ(posted, 1);
    window->reload();
    EXPECT_EQ(posted, 2) << "every reload, changed or not";
}

TEST_F(WordsWindow, ClosingOnlyHidesAndKeepsTheFields) {
    window->showWindow();
    window->setCodeFieldText("ab");
    window->windowWillClose();
    EXPECT_EQ(body->calls.back(), "out");
    window->showWindow();
    EXPECT_EQ(window->codeFieldText(), "ab");
}

TEST_F(WordsWindow, UnreachableFileIsReportedWithABeep) {
    services.locations().unavailable = true;
    add("ab", "甲");
    EXPECT_EQ(window->statusText(), "無法開啟自建詞組檔案。");
    window->openFile();
    EXPECT_TRUE(services.workspace().opened.empty());
    services.locations().unavailable = false;

    fs::create_directories(file());  // a directory where the file should be
    add("ab", "甲");
    EXPECT_EQ(window->statusText(), "無法開啟自建詞組檔案。");
    EXPECT_EQ(services.beep().count, 2);
    EXPECT_EQ(posted, 0);
}

TEST_F(WordsWindow, WithoutATableAnyPrintableCodeIsTaken) {
    KVWordsWindow bare;
    bare.setCodeFieldText("a1#");
    bare.setPhraseFieldText("甲");
    bare.addEntry();
    EXPECT_EQ(contents(), "a1# 甲\n");
    bare.setCodeFieldText("日");
    bare.addEntry();
    EXPECT_EQ(bare.statusText(), kInvalid);
}

}  // namespace
}  // namespace kv
