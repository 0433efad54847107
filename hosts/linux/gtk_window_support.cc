// SPDX-License-Identifier: MIT
#include "hosts/linux/gtk_window_support.h"

#include "platform/linux/pango_font.h"

namespace kv {

namespace {

// The window font is the CJK faces the panels use, 13 px like a desktop's control font; controls
// are made as tall as their frames say (pop-ups and fields 30, buttons 32 and more).
constexpr std::string_view kControlStyles = R"css(
.kv-window entry {
    min-height: 28px;
    padding-top: 0;
    padding-bottom: 0;
}
.kv-window combobox button {
    min-height: 20px;
    padding-top: 4px;
    padding-bottom: 4px;
}
.kv-window button {
    min-height: 20px;
    padding-top: 4px;
    padding-bottom: 4px;
}
.kv-window colorbutton {
    min-height: 20px;
    min-width: 20px;
    padding: 4px;
}
.kv-group-title {
    padding-left: 3px;
    padding-right: 3px;
}
.kv-header {
    background-color: alpha(@theme_fg_color, 0.045);
    border-bottom: 1px solid alpha(@theme_fg_color, 0.12);
}
)css";

std::string Stylesheet() {
    std::string families;
    for (const std::string_view family : kSystemFontFamilies) {
        families += '"' + std::string(family) + "\", ";
    }
    return ".kv-window {\n    font-family: " + families + "sans-serif;\n    font-size: 13px;\n}\n" +
           std::string(kControlStyles);
}

}  // namespace

void GtkInstallWindowStyles() {
    static const bool installed = [] {
        GtkCssProvider* provider = gtk_css_provider_new();
        const std::string stylesheet = Stylesheet();
        gtk_css_provider_load_from_data(provider, stylesheet.c_str(), -1, nullptr);
        gtk_style_context_add_provider_for_screen(gdk_screen_get_default(),
                                                  GTK_STYLE_PROVIDER(provider),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        g_object_unref(provider);
        return true;
    }();
    (void)installed;
}

GtkWidget* GtkMakeWindow(std::string_view title) {
    GtkInstallWindowStyles();
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), GtkText(title).c_str());
    gtk_style_context_add_class(gtk_widget_get_style_context(window), kWindowStyleClass);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    return window;
}

void GtkTakeKeysDirectlyInEveryField() {
    static const bool installed = [] {
        // Every field is realized before it can take a key; the hook stays for the process.
        g_signal_add_emission_hook(
            g_signal_lookup("realize", GTK_TYPE_WIDGET), 0,
            +[](GSignalInvocationHint*, guint, const GValue* values, gpointer) -> gboolean {
                auto* const widget = static_cast<GObject*>(g_value_get_object(&values[0]));
                if (GTK_IS_ENTRY(widget) || GTK_IS_TEXT_VIEW(widget)) {
                    g_object_set(widget, "im-module", "gtk-im-context-simple", nullptr);
                }
                return TRUE;
            },
            nullptr, nullptr);
        return true;
    }();
    (void)installed;
}

void GtkPlace(GtkFixed* fixed, GtkWidget* widget, const Rect& frame, double areaHeight) {
    gtk_widget_set_size_request(widget, static_cast<int>(frame.width()),
                                static_cast<int>(frame.height()));
    gtk_fixed_put(fixed, widget, static_cast<int>(frame.minX()),
                  static_cast<int>(areaHeight - frame.maxY()));
}

GtkWidget* GtkMakeLabel(std::string_view text, const LabelStyle& style) {
    GtkWidget* label = gtk_label_new(GtkText(text).c_str());
    GtkLabel* asLabel = GTK_LABEL(label);
    gtk_label_set_xalign(asLabel, style.centred ? 0.5f : 0.0f);
    gtk_label_set_yalign(asLabel, 0.5f);
    gtk_label_set_single_line_mode(asLabel, TRUE);
    // Lets the label be no wider than its frame; the text is cut at the edge like a clipped view.
    gtk_label_set_ellipsize(asLabel, style.cut);
    PangoAttrList* attributes = pango_attr_list_new();
    if (style.size > 0) {
        pango_attr_list_insert(
            attributes, pango_attr_size_new_absolute(static_cast<int>(style.size * PANGO_SCALE)));
    }
    pango_attr_list_insert(attributes, pango_attr_weight_new(style.weight));
    if (style.monospace) {
        pango_attr_list_insert(attributes, pango_attr_family_new("monospace"));
    }
    gtk_label_set_attributes(asLabel, attributes);
    pango_attr_list_unref(attributes);
    if (style.secondary) {
        gtk_style_context_add_class(gtk_widget_get_style_context(label), GTK_STYLE_CLASS_DIM_LABEL);
    }
    return label;
}

void GtkAttachLabel(GtkWidget* label, GtkWidget* field) {
    gtk_label_set_mnemonic_widget(GTK_LABEL(label), field);
    // A pop-up, a text field and a colour well would otherwise be named by their content.
    atk_object_set_name(gtk_widget_get_accessible(field), gtk_label_get_text(GTK_LABEL(label)));
}

GdkRGBA GtkRGBA(const Color& color) {
    return {color.red, color.green, color.blue, color.alpha};
}

Color GtkColor(const GdkRGBA& rgba) {
    return {rgba.red, rgba.green, rgba.blue, rgba.alpha};
}

std::string GtkText(std::string_view text) {
    return std::string(text);
}

}  // namespace kv
