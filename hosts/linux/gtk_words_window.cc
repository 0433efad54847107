// SPDX-License-Identifier: MIT
#include "hosts/linux/gtk_words_window.h"

#include "hosts/linux/gtk_window_support.h"

namespace kv {

namespace L = WordsLayout;

namespace {

enum RowColumn : gint { CodeColumn, PhraseColumn, BackgroundColumn, ColumnCount };

// Every other row is shaded, whatever the theme's own background.
constexpr GdkRGBA kAlternateRow{0.5, 0.5, 0.5, 0.09};

GtkWordsWindow& Self(gpointer self) {
    return *static_cast<GtkWordsWindow*>(self);
}

GtkTreeViewColumn* MakeColumn(const L::Column& column, gint textColumn, bool expands) {
    GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
    g_object_set(renderer, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
    GtkTreeViewColumn* made = gtk_tree_view_column_new_with_attributes(
        GtkText(column.title).c_str(), renderer, "text", textColumn, "cell-background-rgba",
        BackgroundColumn, nullptr);
    gtk_tree_view_column_set_sizing(made, GTK_TREE_VIEW_COLUMN_FIXED);
    // The last column takes what the list has over, as the table fills its scroll view, and gives
    // back what the list loses down to the smallest window, so that no sideways scroller shows.
    const double shrink = expands ? L::kContentSize.width - L::kMinimumSize.width : 0;
    gtk_tree_view_column_set_fixed_width(made, static_cast<gint>(column.width - shrink));
    gtk_tree_view_column_set_resizable(made, TRUE);
    gtk_tree_view_column_set_expand(made, expands);
    g_object_set_data_full(G_OBJECT(made), "identifier",
                           g_strdup(GtkText(column.identifier).c_str()), g_free);
    return made;
}

// GTK hides the placeholder of the entry that has the focus, and the code field has it from the
// moment the window opens: its hint is drawn here while the field is empty, where and in the
// colour GTK draws it.
gboolean DrawFocusedHint(GtkWidget* widget, cairo_t* cr, gpointer) {
    GtkEntry* entry = GTK_ENTRY(widget);
    const char* hint = gtk_entry_get_placeholder_text(entry);
    if (!gtk_widget_has_focus(widget) || gtk_entry_get_text_length(entry) > 0 || hint == nullptr) {
        return FALSE;
    }
    GtkStyleContext* style = gtk_widget_get_style_context(widget);
    GdkRGBA color;
    if (!gtk_style_context_lookup_color(style, "placeholder_text_color", &color)) {
        gtk_style_context_get_color(style, gtk_style_context_get_state(style), &color);
        color.alpha *= 0.5;
    }
    GdkRectangle area;
    gtk_entry_get_text_area(entry, &area);
    PangoLayout* layout = gtk_widget_create_pango_layout(widget, hint);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    cairo_save(cr);
    gdk_cairo_set_source_rgba(cr, &color);
    cairo_move_to(cr, area.x, area.y + (area.height - height) / 2.0);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
    g_object_unref(layout);
    return FALSE;
}

// The status line wraps where the window is too narrow for it, growing about its middle.
GtkAllocation StatusAllocation(GtkWidget* label, GtkAllocation frame) {
    gint needed = 0;
    gtk_widget_get_preferred_height_for_width(label, frame.width, nullptr, &needed);
    if (needed > frame.height) {
        frame.y -= (needed - frame.height) / 2;
        frame.height = needed;
    }
    return frame;
}

}  // namespace

GtkWordsWindow::GtkWordsWindow(KVWordsWindow& logic) : _logic(logic) {
    _window = GtkMakeWindow(L::kTitle);
    gtk_window_set_default_size(GTK_WINDOW(_window), static_cast<gint>(L::kContentSize.width),
                                static_cast<gint>(L::kContentSize.height));
    GdkGeometry hints{};
    hints.min_width = static_cast<gint>(L::kMinimumSize.width);
    hints.min_height = static_cast<gint>(L::kMinimumSize.height);
    gtk_window_set_geometry_hints(GTK_WINDOW(_window), nullptr, &hints, GDK_HINT_MIN_SIZE);
    _content = gtk_fixed_new();
    // The controls ask for their sizes in the smallest window; Layout places them for the real
    // one, so the window can always shrink back to its minimum.
    gtk_widget_set_size_request(_content, static_cast<gint>(L::kMinimumSize.width),
                                static_cast<gint>(L::kMinimumSize.height));
    gtk_container_add(GTK_CONTAINER(_window), _content);
    g_signal_connect_after(_content, "size-allocate", G_CALLBACK(Layout), this);

    add(GtkMakeLabel(L::kHeading.text, {L::kHeadingSize, PANGO_WEIGHT_LIGHT}), L::kHeading);
    // A long path keeps its file name in view.
    _pathLabel = add(GtkMakeLabel("", {L::kPathSize, PANGO_WEIGHT_NORMAL, true, true, false,
                                       PANGO_ELLIPSIZE_MIDDLE}),
                     L::kPath);
    GtkWidget* const codeCaption = add(GtkMakeLabel(L::kCodeCaption.text), L::kCodeCaption);
    GtkWidget* const phraseCaption = add(GtkMakeLabel(L::kPhraseCaption.text), L::kPhraseCaption);
    _codeField = makeField(L::kCodeField);
    _phraseField = makeField(L::kPhraseField);
    GtkAttachLabel(codeCaption, _codeField);
    GtkAttachLabel(phraseCaption, _phraseField);
    // Return in the phrase field adds the entry.
    g_signal_connect(_phraseField, "activate", G_CALLBACK(AddEntry), this);
    addButton(L::kAddButton, G_CALLBACK(AddEntry));
    buildEntryList();
    addButton(L::kOpenButton, G_CALLBACK(OpenFile));
    addButton(L::kReloadButton, G_CALLBACK(Reload));
    _statusLabel = add(GtkMakeLabel("", {0, PANGO_WEIGHT_NORMAL, false, true}), L::kStatus);
    gtk_label_set_single_line_mode(GTK_LABEL(_statusLabel), FALSE);
    gtk_label_set_ellipsize(GTK_LABEL(_statusLabel), PANGO_ELLIPSIZE_NONE);
    gtk_label_set_line_wrap(GTK_LABEL(_statusLabel), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(_statusLabel), PANGO_WRAP_WORD_CHAR);
    g_signal_connect(_window, "delete-event", G_CALLBACK(DeleteEvent), this);
    gtk_widget_show_all(_content);
}

GtkWordsWindow::~GtkWordsWindow() {
    gtk_widget_destroy(_window);
    g_object_unref(_rows);
}

GtkWidget* GtkWordsWindow::add(GtkWidget* widget, const L::Control& control) {
    const Rect smallest = L::ResizedFrame(control, L::kMinimumSize);
    gtk_widget_set_size_request(widget, static_cast<gint>(smallest.width()),
                                static_cast<gint>(smallest.height()));
    gtk_fixed_put(GTK_FIXED(_content), widget, 0, 0);
    _placed.emplace_back(widget, control);
    return widget;
}

GtkWidget* GtkWordsWindow::addButton(const L::Control& control, GCallback clicked) {
    GtkWidget* button = gtk_button_new_with_label(GtkText(control.text).c_str());
    g_signal_connect(button, "clicked", clicked, this);
    return add(button, control);
}

GtkWidget* GtkWordsWindow::makeField(const L::Control& control) {
    GtkWidget* field = gtk_entry_new();
    gtk_entry_set_placeholder_text(GTK_ENTRY(field), GtkText(control.text).c_str());
    g_signal_connect(field, "changed", G_CALLBACK(FieldChanged), this);
    g_signal_connect_after(field, "draw", G_CALLBACK(DrawFocusedHint), nullptr);
    return add(field, control);
}

void GtkWordsWindow::buildEntryList() {
    _rows = gtk_list_store_new(ColumnCount, G_TYPE_STRING, G_TYPE_STRING, GDK_TYPE_RGBA);
    GtkWidget* table = gtk_tree_view_new_with_model(GTK_TREE_MODEL(_rows));
    gtk_tree_view_append_column(GTK_TREE_VIEW(table),
                                MakeColumn(L::kCodeColumn, CodeColumn, false));
    gtk_tree_view_append_column(GTK_TREE_VIEW(table),
                                MakeColumn(L::kPhraseColumn, PhraseColumn, true));
    GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_AUTOMATIC,
                                   GTK_POLICY_ALWAYS);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroll), GTK_SHADOW_IN);
    // A scroller that stays beside the list, not one that shows only while the pointer moves.
    gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scroll), FALSE);
    gtk_container_add(GTK_CONTAINER(scroll), table);
    add(scroll, L::kEntryList);
}

void GtkWordsWindow::windowDidChange(const KVWordsWindow& window) {
    // Setting a field emits its signal; those echoes are not the user's.
    _filling = true;
    gtk_label_set_text(GTK_LABEL(_pathLabel), window.pathText().c_str());
    gtk_label_set_text(GTK_LABEL(_statusLabel), window.statusText().c_str());
    // A field is only set when it differs, so the caret stays where the user left it.
    for (const auto& [field, text] : {std::pair{_codeField, &window.codeFieldText()},
                                      std::pair{_phraseField, &window.phraseFieldText()}}) {
        if (*text != gtk_entry_get_text(GTK_ENTRY(field))) {
            gtk_entry_set_text(GTK_ENTRY(field), text->c_str());
        }
    }
    fillRows(window);
    _filling = false;
}

void GtkWordsWindow::fillRows(const KVWordsWindow& window) {
    if (window.codes() == _shownCodes && window.phrases() == _shownPhrases) {
        return;
    }
    _shownCodes = window.codes();
    _shownPhrases = window.phrases();
    gtk_list_store_clear(_rows);
    for (std::size_t i = 0; i < _shownCodes.size(); ++i) {
        GtkTreeIter row;
        gtk_list_store_insert_with_values(_rows, &row, -1, CodeColumn, _shownCodes[i].c_str(),
                                          PhraseColumn, _shownPhrases[i].c_str(), BackgroundColumn,
                                          i % 2 == 1 ? &kAlternateRow : nullptr, -1);
    }
}

void GtkWordsWindow::orderFront() {
    gtk_widget_show(_window);
    gtk_window_present(GTK_WINDOW(_window));
}

void GtkWordsWindow::orderOut() {
    gtk_widget_hide(_window);
}

void GtkWordsWindow::focusCodeField() {
    gtk_widget_grab_focus(_codeField);
}

void GtkWordsWindow::Layout(GtkWidget*, GdkRectangle* allocation, gpointer self) {
    const Size size{static_cast<double>(allocation->width),
                    static_cast<double>(allocation->height)};
    GtkWordsWindow& w = Self(self);
    for (const auto& [widget, control] : w._placed) {
        const Rect frame = L::ResizedFrame(control, size);
        GtkAllocation child{allocation->x + static_cast<gint>(frame.minX()),
                            allocation->y + static_cast<gint>(size.height - frame.maxY()),
                            static_cast<gint>(frame.width()), static_cast<gint>(frame.height())};
        if (widget == w._statusLabel) {
            child = StatusAllocation(widget, child);
        }
        gtk_widget_size_allocate(widget, &child);
    }
}

gboolean GtkWordsWindow::DeleteEvent(GtkWidget*, GdkEvent*, gpointer self) {
    Self(self)._logic.windowWillClose();
    return TRUE;  // the window is kept for the next showing
}

void GtkWordsWindow::FieldChanged(GtkEditable* field, gpointer self) {
    GtkWordsWindow& w = Self(self);
    if (w._filling) {
        return;
    }
    const char* text = gtk_entry_get_text(GTK_ENTRY(field));
    if (GTK_WIDGET(field) == w._codeField) {
        w._logic.setCodeFieldText(text);
    } else {
        w._logic.setPhraseFieldText(text);
    }
}

void GtkWordsWindow::AddEntry(GtkWidget*, gpointer self) {
    Self(self)._logic.addEntry();
}

void GtkWordsWindow::OpenFile(GtkButton*, gpointer self) {
    Self(self)._logic.openFile();
}

void GtkWordsWindow::Reload(GtkButton*, gpointer self) {
    Self(self)._logic.reload();
}

}  // namespace kv
