// SPDX-License-Identifier: MIT
#include "hosts/linux/gtk_preferences_window.h"

#include <pango/pangocairo.h>
#include <initializer_list>

#include <algorithm>

#include "hosts/linux/gtk_window_support.h"
#include "platform/linux/pango_font.h"
#include "settings/preferences_window_layout.h"

namespace kv {

namespace L = PreferencesLayout;

namespace {

// Where a group's content area starts inside the group's frame, from its bottom-left.
constexpr double kBoxInset = 5;
// How far a group's title stands in from the group's left edge.
constexpr double kTitleInset = 8;

GtkPreferencesWindow& Self(gpointer self) {
    return *static_cast<GtkPreferencesWindow*>(self);
}

void SetSource(cairo_t* cr, const Color& color) {
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double width, double height, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -G_PI / 2, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, G_PI / 2);
    cairo_arc(cr, x + radius, y + height - radius, radius, G_PI / 2, G_PI);
    cairo_arc(cr, x + radius, y + radius, radius, G_PI, 3 * G_PI / 2);
    cairo_close_path(cr);
}

// One preview row: a label's text, two points in from its left edge, clipped to its frame.
void DrawRow(cairo_t* cr, const L::Label& row, const Font& font, const Color& color) {
    const double top = L::kPreview.height() - row.frame.maxY();
    cairo_save(cr);
    cairo_rectangle(cr, row.frame.minX(), top, row.frame.width(), row.frame.height());
    cairo_clip(cr);
    GObjectPtr<PangoLayout> layout(pango_cairo_create_layout(cr));
    pango_layout_set_text(layout.get(), row.text.data(), static_cast<int>(row.text.size()));
    const PangoFontDescriptionPtr description = PangoFontFor(font);
    pango_layout_set_font_description(layout.get(), description.get());
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
    // The line sits in the middle of the row, so large sizes lose only the empty line space.
    cairo_move_to(cr, row.frame.minX() + 2, top + (row.frame.height() - logical.height) / 2);
    SetSource(cr, color);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
}

// A titled group box `width` wide whose title stands in from the corner, with a little air on
// both sides where it interrupts the outline. The frame breaks its outline for the title's
// allocation, margins included, so the title is moved in by its alignment and given the air as
// padding.
GtkWidget* MakeGroup(std::string_view title, double width) {
    GtkWidget* label = gtk_label_new(GtkText(title).c_str());
    gtk_style_context_add_class(gtk_widget_get_style_context(label), kGroupTitleStyleClass);
    GtkWidget* frame = gtk_frame_new(nullptr);
    gtk_frame_set_label_widget(GTK_FRAME(frame), label);
    gint titleWidth = 0;
    gtk_widget_get_preferred_width(label, nullptr, &titleWidth);
    const double room = std::max(1.0, width - titleWidth);
    gtk_frame_set_label_align(GTK_FRAME(frame), static_cast<float>(kTitleInset / room), 0.5f);
    return frame;
}

// A caption over a group of controls that have names of their own: it describes each of them.
void RelateCaption(GtkWidget* caption, std::initializer_list<GtkWidget*> members) {
    AtkObject* const label = gtk_widget_get_accessible(caption);
    for (GtkWidget* member : members) {
        AtkObject* const control = gtk_widget_get_accessible(member);
        atk_object_add_relationship(control, ATK_RELATION_DESCRIBED_BY, label);
        atk_object_add_relationship(label, ATK_RELATION_DESCRIPTION_FOR, control);
        atk_object_set_description(control, gtk_label_get_text(GTK_LABEL(caption)));
    }
}

}  // namespace

GtkPreferencesWindow::GtkPreferencesWindow(KVPreferencesWindow& logic) : _logic(logic) {
    _window = GtkMakeWindow(L::kTitle);
    gtk_window_set_resizable(GTK_WINDOW(_window), FALSE);
    _content = GTK_FIXED(gtk_fixed_new());
    gtk_widget_set_size_request(GTK_WIDGET(_content), static_cast<int>(L::kContentSize.width),
                                static_cast<int>(L::kContentSize.height));
    gtk_container_add(GTK_CONTAINER(_window), GTK_WIDGET(_content));
    buildHeader();
    buildBehaviourBox();
    buildAppearanceBox();
    buildFooter();
    g_signal_connect(_window, "delete-event", G_CALLBACK(DeleteEvent), this);
    g_signal_connect(_window, "key-press-event", G_CALLBACK(KeyPress), this);
    gtk_widget_show_all(GTK_WIDGET(_content));
}

GtkPreferencesWindow::~GtkPreferencesWindow() {
    gtk_widget_destroy(_window);
}

void GtkPreferencesWindow::buildHeader() {
    const double height = L::kContentSize.height;
    // A plain band stands in for the header material; a box draws its style's background.
    GtkWidget* header = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_style_context_add_class(gtk_widget_get_style_context(header), kHeaderStyleClass);
    GtkPlace(_content, header, L::kHeader, height);
    const Rect inHeader = L::kHeader;
    GtkPlace(_content,
             GtkMakeLabel(L::kHeaderTitle.text, {L::kHeaderTitleSize, PANGO_WEIGHT_LIGHT}),
             L::kHeaderTitle.frame.offsetBy(inHeader.minX(), inHeader.minY()), height);
    GtkPlace(_content,
             GtkMakeLabel(L::kHeaderSubtitle.text,
                          {L::kHeaderSubtitleSize, PANGO_WEIGHT_NORMAL, false, true}),
             L::kHeaderSubtitle.frame.offsetBy(inHeader.minX(), inHeader.minY()), height);
}

void GtkPreferencesWindow::placeInBox(GtkWidget* widget, const Rect& box, const Rect& frame) {
    GtkPlace(_content, widget, frame.offsetBy(box.minX() + kBoxInset, box.minY() + kBoxInset),
             L::kContentSize.height);
}

GtkWidget* GtkPreferencesWindow::addLabel(const Rect& box, const Rect& frame,
                                          std::string_view text) {
    GtkWidget* label = GtkMakeLabel(text);
    placeInBox(label, box, frame);
    return label;
}

GtkWidget* GtkPreferencesWindow::addPopUp(const Rect& box, const Rect& frame,
                                          const std::string_view* titles, std::size_t count) {
    GtkWidget* popUp = gtk_combo_box_text_new();
    for (std::size_t i = 0; i < count; ++i) {
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(popUp), GtkText(titles[i]).c_str());
    }
    placeInBox(popUp, box, frame);
    g_signal_connect(popUp, "changed", G_CALLBACK(PopUpChanged), this);
    return popUp;
}

void GtkPreferencesWindow::buildBehaviourBox() {
    const Rect box = L::kBehaviourBox.frame;
    GtkPlace(_content, MakeGroup(L::kBehaviourBox.text, box.width()), box, L::kContentSize.height);
    GtkWidget* const toggleCaption = addLabel(box, L::kToggleCaption.frame, L::kToggleCaption.text);
    _capsRadio = gtk_radio_button_new_with_label(nullptr, GtkText(L::kCapsRadio.text).c_str());
    _shiftRadio = gtk_radio_button_new_with_label_from_widget(GTK_RADIO_BUTTON(_capsRadio),
                                                              GtkText(L::kShiftRadio.text).c_str());
    _persistentToolbar =
        gtk_check_button_new_with_label(GtkText(L::kPersistentToolbar.text).c_str());
    _letterSelection = gtk_check_button_new_with_label(GtkText(L::kLetterSelection.text).c_str());
    placeInBox(_capsRadio, box, L::kCapsRadio.frame);
    placeInBox(_shiftRadio, box, L::kShiftRadio.frame);
    placeInBox(_persistentToolbar, box, L::kPersistentToolbar.frame);
    placeInBox(_letterSelection, box, L::kLetterSelection.frame);
    for (GtkWidget* button : {_capsRadio, _shiftRadio, _persistentToolbar, _letterSelection}) {
        g_signal_connect(button, "toggled", G_CALLBACK(Toggled), this);
    }
    // The two radios keep their own names; the caption over them is the group's.
    RelateCaption(toggleCaption, {_capsRadio, _shiftRadio});
    GtkWidget* const followCaption = addLabel(box, L::kFollowCaption.frame, L::kFollowCaption.text);
    _followMode =
        addPopUp(box, L::kFollowMode, L::kFollowModeTitles.data(), L::kFollowModeTitles.size());
    GtkAttachLabel(followCaption, _followMode);
    GtkWidget* const scriptCaption = addLabel(box, L::kScriptCaption.frame, L::kScriptCaption.text);
    _scriptMode =
        addPopUp(box, L::kScriptMode, L::kScriptModeTitles.data(), L::kScriptModeTitles.size());
    GtkAttachLabel(scriptCaption, _scriptMode);
    GtkWidget* words = gtk_button_new_with_label(GtkText(L::kWordsButton.text).c_str());
    placeInBox(words, box, L::kWordsButton.frame);
    g_signal_connect(words, "clicked", G_CALLBACK(WordsClicked), this);
}

void GtkPreferencesWindow::buildAppearanceBox() {
    const Rect box = L::kAppearanceBox.frame;
    GtkPlace(_content, MakeGroup(L::kAppearanceBox.text, box.width()), box, L::kContentSize.height);
    GtkWidget* const previewCaption =
        addLabel(box, L::kPreviewCaption.frame, L::kPreviewCaption.text);
    _preview = gtk_drawing_area_new();
    placeInBox(_preview, box, L::kPreview);
    GtkAttachLabel(previewCaption, _preview);
    g_signal_connect(_preview, "draw", G_CALLBACK(Draw), this);
    GtkWidget* const themeCaption = addLabel(box, L::kThemeCaption.frame, L::kThemeCaption.text);
    _theme = addPopUp(box, L::kTheme, KVThemePresetNames.data(), KVThemePresetNames.size());
    GtkAttachLabel(themeCaption, _theme);
    GtkWidget* const sizeCaption =
        addLabel(box, L::kFontSizeCaption.frame, L::kFontSizeCaption.text);
    _fontSize = addPopUp(box, L::kFontSize, KVFontSizeTitles.data(), KVFontSizeTitles.size());
    GtkAttachLabel(sizeCaption, _fontSize);
    for (std::size_t i = 0; i < KVThemeColorCount; ++i) {
        GtkWidget* const caption = GtkMakeLabel(
            L::kColorCaptions[i], {L::kColorCaptionSize, PANGO_WEIGHT_NORMAL, false, false, true});
        placeInBox(caption, box, L::ColorCaptionFrame(i));
        _colorWells[i] = gtk_color_button_new();
        GtkAttachLabel(caption, _colorWells[i]);
        gtk_color_chooser_set_use_alpha(GTK_COLOR_CHOOSER(_colorWells[i]), FALSE);
        gtk_color_button_set_title(GTK_COLOR_BUTTON(_colorWells[i]),
                                   GtkText(L::kColorCaptions[i]).c_str());
        placeInBox(_colorWells[i], box, L::ColorWellFrame(i));
        g_signal_connect(_colorWells[i], "color-set", G_CALLBACK(ColorSet), this);
    }
}

void GtkPreferencesWindow::buildFooter() {
    const double height = L::kContentSize.height;
    _footnote = GtkMakeLabel(L::kFootnote.text, {0, PANGO_WEIGHT_NORMAL, false, true});
    GtkPlace(_content, _footnote, L::kFootnote.frame, height);
    GtkWidget* save = gtk_button_new_with_label(GtkText(L::kSaveButton.text).c_str());
    // The button Return performs, drawn as the window's default.
    gtk_style_context_add_class(gtk_widget_get_style_context(save),
                                GTK_STYLE_CLASS_SUGGESTED_ACTION);
    GtkPlace(_content, save, L::kSaveButton.frame, height);
    g_signal_connect(save, "clicked", G_CALLBACK(SaveClicked), this);
}

void GtkPreferencesWindow::windowDidChange(const KVPreferencesWindow& window) {
    // Setting a control emits its signal; those echoes are not the user's.
    _filling = true;
    const PreferencesControls& c = window.controls();
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(c.shiftRadio ? _shiftRadio : _capsRadio), TRUE);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(_persistentToolbar), c.persistentToolbar);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(_letterSelection), c.letterSelection);
    gtk_combo_box_set_active(GTK_COMBO_BOX(_followMode), static_cast<gint>(c.followMode));
    gtk_combo_box_set_active(GTK_COMBO_BOX(_scriptMode), static_cast<gint>(c.scriptMode));
    gtk_combo_box_set_active(GTK_COMBO_BOX(_theme), static_cast<gint>(c.theme));
    gtk_combo_box_set_active(GTK_COMBO_BOX(_fontSize), static_cast<gint>(c.fontSize));
    for (std::size_t i = 0; i < KVThemeColorCount; ++i) {
        const GdkRGBA rgba = GtkRGBA(c.colorWells[i]);
        gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(_colorWells[i]), &rgba);
    }
    _shownPreview = window.preview();
    gtk_widget_queue_draw(_preview);
    // A Save that could not store the settings says why where the footnote stands.
    const std::string& problem = window.saveProblem();
    gtk_label_set_text(GTK_LABEL(_footnote),
                       GtkText(problem.empty() ? L::kFootnote.text : problem).c_str());
    _filling = false;
}

void GtkPreferencesWindow::orderFront() {
    gtk_widget_show(_window);
    gtk_window_present(GTK_WINDOW(_window));
}

void GtkPreferencesWindow::orderOut() {
    gtk_widget_hide(_window);
}

gboolean GtkPreferencesWindow::Draw(GtkWidget*, cairo_t* cr, gpointer self) {
    const PreferencesPreview& p = Self(self)._shownPreview;
    const Rect& box = L::kPreview;
    RoundedRect(cr, 0.5, 0.5, box.width() - 1, box.height() - 1, L::kPreviewCornerRadius);
    SetSource(cr, p.background);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    SetSource(cr, p.border);
    cairo_stroke(cr);
    const Rect& first = L::kPreviewFirst.frame;
    cairo_rectangle(cr, first.minX(), box.height() - first.maxY(), first.width(), first.height());
    SetSource(cr, p.firstBackground);
    cairo_fill(cr);
    DrawRow(cr, L::kPreviewFirst, p.font, p.firstText);
    DrawRow(cr, L::kPreviewSecond, p.font, p.secondText);
    return TRUE;
}

gboolean GtkPreferencesWindow::DeleteEvent(GtkWidget*, GdkEvent*, gpointer self) {
    Self(self)._logic.windowWillClose();
    return TRUE;  // the window is kept for the next showing
}

gboolean GtkPreferencesWindow::KeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
    const bool enter = event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter ||
                       event->keyval == GDK_KEY_ISO_Enter;
    const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    if (!enter || modifiers != 0) {
        return FALSE;
    }
    Self(self)._logic.save();
    return TRUE;
}

void GtkPreferencesWindow::Toggled(GtkToggleButton* button, gpointer self) {
    GtkPreferencesWindow& w = Self(self);
    if (w._filling) {
        return;
    }
    const bool active = gtk_toggle_button_get_active(button);
    GtkWidget* widget = GTK_WIDGET(button);
    // A radio pair toggles twice per click; the one turned on is the sender.
    if (widget == w._capsRadio && active) {
        w._logic.toggleRadio(ToggleRadio::CapsLock);
    } else if (widget == w._shiftRadio && active) {
        w._logic.toggleRadio(ToggleRadio::Shift);
    } else if (widget == w._persistentToolbar) {
        w._logic.setPersistentToolbar(active);
    } else if (widget == w._letterSelection) {
        w._logic.setLetterSelection(active);
    }
}

void GtkPreferencesWindow::PopUpChanged(GtkComboBox* box, gpointer self) {
    GtkPreferencesWindow& w = Self(self);
    const gint index = gtk_combo_box_get_active(box);
    if (w._filling || index < 0) {
        return;
    }
    const auto selected = static_cast<std::size_t>(index);
    GtkWidget* widget = GTK_WIDGET(box);
    if (widget == w._followMode) {
        w._logic.selectFollowMode(selected);
    } else if (widget == w._scriptMode) {
        w._logic.selectScriptMode(selected);
    } else if (widget == w._theme) {
        w._logic.selectTheme(selected);
    } else if (widget == w._fontSize) {
        w._logic.selectFontSize(selected);
    }
}

void GtkPreferencesWindow::ColorSet(GtkColorButton* button, gpointer self) {
    GtkPreferencesWindow& w = Self(self);
    for (std::size_t i = 0; i < KVThemeColorCount; ++i) {
        if (w._colorWells[i] == GTK_WIDGET(button)) {
            GdkRGBA rgba;
            gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(button), &rgba);
            w._logic.pickColor(i, GtkColor(rgba));
        }
    }
}

void GtkPreferencesWindow::SaveClicked(GtkButton*, gpointer self) {
    Self(self)._logic.save();
}

void GtkPreferencesWindow::WordsClicked(GtkButton*, gpointer self) {
    Self(self)._logic.openWords();
}

}  // namespace kv
