// SPDX-License-Identifier: MIT
// The words window on screen: GTK controls at the window's frames, following resizes by the
// window's rules, filled from KVWordsWindow and forwarding the user's actions to it.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <utility>
#include <vector>

#include "words/words_window.h"
#include "words/words_window_layout.h"

namespace kv {

class GtkWordsWindow final : public WordsWindowBody {
  public:
    // Builds every control once; the window stays hidden until orderFront.
    explicit GtkWordsWindow(KVWordsWindow& logic);
    ~GtkWordsWindow() override;
    GtkWordsWindow(const GtkWordsWindow&) = delete;
    GtkWordsWindow& operator=(const GtkWordsWindow&) = delete;

    void windowDidChange(const KVWordsWindow& window) override;
    void orderFront() override;
    void orderOut() override;
    void focusCodeField() override;

    GtkWidget* window() const { return _window; }
    GtkWidget* content() const { return _content; }

  private:
    GtkWidget* add(GtkWidget* widget, const WordsLayout::Control& control);
    GtkWidget* addButton(const WordsLayout::Control& control, GCallback clicked);
    GtkWidget* makeField(const WordsLayout::Control& control);
    void buildEntryList();
    void fillRows(const KVWordsWindow& window);

    static void Layout(GtkWidget* content, GdkRectangle* allocation, gpointer self);
    static gboolean DeleteEvent(GtkWidget* widget, GdkEvent* event, gpointer self);
    static void FieldChanged(GtkEditable* field, gpointer self);
    static void AddEntry(GtkWidget* sender, gpointer self);
    static void OpenFile(GtkButton* button, gpointer self);
    static void Reload(GtkButton* button, gpointer self);

    KVWordsWindow& _logic;
    bool _filling = false;
    std::vector<std::pair<GtkWidget*, WordsLayout::Control>> _placed;
    std::vector<std::string> _shownCodes;
    std::vector<std::string> _shownPhrases;
    GtkWidget* _window = nullptr;
    GtkWidget* _content = nullptr;
    GtkWidget* _pathLabel = nullptr;
    GtkWidget* _codeField = nullptr;
    GtkWidget* _phraseField = nullptr;
    GtkWidget* _statusLabel = nullptr;
    GtkListStore* _rows = nullptr;
};

}  // namespace kv
