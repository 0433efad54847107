// SPDX-License-Identifier: MIT
// The two windows as GTK shows them: controls forwarding to the logic, Return, the close box,
// and the pictures `cqkv render` takes. Skipped where there is no display, except in CI, where
// every window test is meant to run.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "hosts/linux/gtk_preferences_window.h"
#include "hosts/linux/gtk_window_support.h"
#include "hosts/linux/gtk_windows.h"
#include "hosts/linux/gtk_words_window.h"
#include "platform/memory/memory_services.h"
#include "settings/settings_keys.h"
#include "tools/cqkv/render_windows.h"

namespace kv {
namespace {

// Every widget below `widget` that `keep` accepts, in the order they were added.
std::vector<GtkWidget*> Find(GtkWidget* widget, const std::function<bool(GtkWidget*)>& keep) {
    std::vector<GtkWidget*> found;
    if (keep(widget)) {
        found.push_back(widget);
    }
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* child = children; child != nullptr; child = child->next) {
            for (GtkWidget* below : Find(GTK_WIDGET(child->data), keep)) {
                found.push_back(below);
            }
        }
        g_list_free(children);
    }
    return found;
}

GtkWidget* ButtonTitled(GtkWidget* window, std::string_view title) {
    const std::vector<GtkWidget*> buttons = Find(window, [title](GtkWidget* w) {
        return GTK_IS_BUTTON(w) && gtk_button_get_label(GTK_BUTTON(w)) != nullptr &&
               title == gtk_button_get_label(GTK_BUTTON(w));
    });
    return buttons.empty() ? nullptr : buttons.front();
}

void Pump() {
    while (gtk_events_pending()) {
        gtk_main_iteration();
    }
}

// GTK lays a window out again on its frame clock's next tick, not at once: pumps until
// `done` holds, for at most two seconds.
template <typename Condition>
void PumpUntil(Condition done) {
    const gint64 deadline = g_get_monotonic_time() + gint64{2} * G_USEC_PER_SEC;
    while (!done() && g_get_monotonic_time() < deadline) {
        Pump();
        g_usleep(5000);
    }
}

void Send(GtkWidget* window, GdkEventType type, guint keyval = 0) {
    GdkEvent* event = gdk_event_new(type);
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
    if (type == GDK_KEY_PRESS) {
        event->key.keyval = keyval;
    }
    gtk_widget_event(window, event);
    gdk_event_free(event);
}

class GtkWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!KVStartGtkWindows()) {
            const char* ci = std::getenv("CI");
            if (ci != nullptr && std::string_view(ci) == "true") {
                FAIL() << "no display to show windows on, in CI, where the tests run on one";
            }
            GTEST_SKIP() << "no display to show windows on";
        }
        defaultCenter().addObserver(this, KVSettingsDidChangeNotification,
                                    [this](const Notification&) { ++settingsPosted; });
        defaultCenter().addObserver(this, KVUserDictionaryDidChangeNotification,
                                    [this](const Notification&) { ++wordsPosted; });
    }

    MemoryServices services;
    int settingsPosted = 0;
    int wordsPosted = 0;
};

TEST_F(GtkWindows, SettingsWindowForwardsTheUsersChoicesAndSavesOnReturn) {
    KVPreferencesWindow logic({KVGtkPreferencesWindowMaker(), {}});
    logic.showWindow();
    GtkWidget* window = dynamic_cast<const GtkPreferencesWindow&>(*logic.body()).window();
    Pump();
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(window)), "澄雀輸入法-雲階　設定");
    EXPECT_TRUE(gtk_widget_get_visible(window));
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(window)));

    // Group titles stand in from the box's corner, as on a titled box.
    for (GtkWidget* group : Find(window, [](GtkWidget* w) { return GTK_IS_FRAME(w); })) {
        GtkAllocation box;
        GtkAllocation title;
        gtk_widget_get_allocation(group, &box);
        gtk_widget_get_allocation(gtk_frame_get_label_widget(GTK_FRAME(group)), &title);
        EXPECT_GE(title.x - box.x, 6);
    }

    gtk_button_clicked(GTK_BUTTON(ButtonTitled(window, "Shift")));
    EXPECT_TRUE(logic.controls().shiftRadio);
    const std::vector<GtkWidget*> popUps =
        Find(window, [](GtkWidget* w) { return GTK_IS_COMBO_BOX(w); });
    ASSERT_EQ(popUps.size(), 4u);  // follow mode, script, theme, size
    gtk_combo_box_set_active(GTK_COMBO_BOX(popUps[2]), 9);
    EXPECT_EQ(logic.controls().theme, 9u);
    // The wells show the preset the logic put in them.
    const std::vector<GtkWidget*> wells =
        Find(window, [](GtkWidget* w) { return GTK_IS_COLOR_BUTTON(w); });
    ASSERT_EQ(wells.size(), 6u);
    GdkRGBA selection;
    gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(wells[3]), &selection);
    EXPECT_EQ(GtkColor(selection), Color::fromRGB255(255, 221, 0));

    Send(window, GDK_KEY_PRESS, GDK_KEY_Return);
    EXPECT_EQ(settingsPosted, 1);
    EXPECT_EQ(services.defaults().stringForKey(SettingsKey::ToggleKey), "Shift");
    EXPECT_EQ(services.defaults().integerForKey(SettingsKey::ThemePreset), 9);
    EXPECT_FALSE(gtk_widget_get_visible(window));
    EXPECT_FALSE(logic.isVisible());
}

TEST_F(GtkWindows, SettingsWindowSaysWhyASaveFailed) {
    KVPreferencesWindow logic({KVGtkPreferencesWindowMaker(), {}});
    logic.showWindow();
    GtkWidget* window = dynamic_cast<const GtkPreferencesWindow&>(*logic.body()).window();
    Pump();
    services.defaults().failingWrites = "No space left on device";
    gtk_button_clicked(GTK_BUTTON(ButtonTitled(window, "儲存並套用")));
    Pump();
    EXPECT_TRUE(gtk_widget_get_visible(window));
    const auto labelled = [window](std::string_view text) {
        return !Find(window, [text](GtkWidget* w) {
                    return GTK_IS_LABEL(w) && text == gtk_label_get_text(GTK_LABEL(w));
                }).empty();
    };
    EXPECT_TRUE(labelled("無法儲存設定：No space left on device"));
}

TEST_F(GtkWindows, SettingsCloseBoxOnlyHidesAndStoresNothing) {
    KVPreferencesWindow logic({KVGtkPreferencesWindowMaker(), {}});
    logic.showWindow();
    GtkWidget* window = dynamic_cast<const GtkPreferencesWindow&>(*logic.body()).window();
    Pump();
    gtk_button_clicked(GTK_BUTTON(ButtonTitled(window, "Shift")));
    Send(window, GDK_DELETE);
    EXPECT_FALSE(gtk_widget_get_visible(window));
    EXPECT_FALSE(logic.isVisible());
    EXPECT_TRUE(services.defaults().values.empty());
    EXPECT_EQ(settingsPosted, 0);
    logic.showWindow();  // the same window again, refilled
    EXPECT_EQ(dynamic_cast<const GtkPreferencesWindow&>(*logic.body()).window(), window);
    EXPECT_TRUE(gtk_toggle_button_get_active(
        GTK_TOGGLE_BUTTON(ButtonTitled(window, "Caps Lock（macOS 預設）"))));
}

TEST_F(GtkWindows, WordsWindowAddsOnReturnInThePhraseField) {
    KVWordsWindow logic({KVGtkWordsWindowMaker(), {}});
    logic.showWindow();
    GtkWidget* window = dynamic_cast<const GtkWordsWindow&>(*logic.body()).window();
    Pump();
    const std::vector<GtkWidget*> fields =
        Find(window, [](GtkWidget* w) { return GTK_IS_ENTRY(w); });
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_STREQ(gtk_entry_get_placeholder_text(GTK_ENTRY(fields[0])), "例如 abc");
    gtk_entry_set_text(GTK_ENTRY(fields[0]), "ABC");
    gtk_entry_set_text(GTK_ENTRY(fields[1]), "雲階");
    gtk_widget_activate(fields[1]);
    EXPECT_EQ(logic.codes(), std::vector<std::string>{"abc"});
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(fields[0])), "");
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(fields[1])), "");
    const std::vector<GtkWidget*> tables =
        Find(window, [](GtkWidget* w) { return GTK_IS_TREE_VIEW(w); });
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(
        gtk_tree_model_iter_n_children(gtk_tree_view_get_model(GTK_TREE_VIEW(tables[0])), nullptr),
        1);

    gtk_button_clicked(GTK_BUTTON(ButtonTitled(window, "加入詞庫")));  // both fields empty
    EXPECT_EQ(services.beep().count, 1);
    gtk_button_clicked(GTK_BUTTON(ButtonTitled(window, "重新讀取")));
    EXPECT_EQ(wordsPosted, 2);
    Send(window, GDK_DELETE);
    EXPECT_FALSE(gtk_widget_get_visible(window));
    EXPECT_FALSE(logic.isVisible());
}

// Pixels of `picture` inside `area` (in pixels from the top-left) that are neither near white
// nor near black: the grey of antialiased hint text.
int GreyPixels(GdkPixbuf* picture, const GdkRectangle& area) {
    const int channels = gdk_pixbuf_get_n_channels(picture);
    const int stride = gdk_pixbuf_get_rowstride(picture);
    const guchar* pixels = gdk_pixbuf_get_pixels(picture);
    int grey = 0;
    for (int y = area.y; y < area.y + area.height; ++y) {
        for (int x = area.x; x < area.x + area.width; ++x) {
            const guchar* p =
                pixels + (std::ptrdiff_t{y} * stride) + (std::ptrdiff_t{x} * channels);
            const int light = (p[0] + p[1] + p[2]) / 3;
            grey += light > 60 && light < 215 ? 1 : 0;
        }
    }
    return grey;
}

TEST_F(GtkWindows, WordsWindowAtItsSmallestShowsTheHintTheScrollerAndTheWholeMessage) {
    KVWordsWindow logic({KVGtkWordsWindowMaker(), {}});
    logic.showWindow();
    const auto& body = dynamic_cast<const GtkWordsWindow&>(*logic.body());
    ASSERT_TRUE(KVResizeWindow(&body, {620, 460}));
    Pump();
    const std::vector<GtkWidget*> fields =
        Find(body.window(), [](GtkWidget* w) { return GTK_IS_ENTRY(w); });
    ASSERT_EQ(fields.size(), 2u);
    // The window is told it is active, as a window manager would, so that the code field has the
    // focus and GTK would hide the hint, whichever window of a parallel test the display focused.
    GdkEvent* focus = gdk_event_new(GDK_FOCUS_CHANGE);
    focus->focus_change.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(body.window())));
    focus->focus_change.in = TRUE;
    gtk_widget_send_focus_change(body.window(), focus);
    gdk_event_free(focus);
    EXPECT_TRUE(gtk_widget_has_focus(fields[0]));

    // The code field's inside, right of the caret: (30, 290, 210, 30) at this size.
    const std::filesystem::path png = services.locations().root() / "words.png";
    std::string error;
    ASSERT_TRUE(KVWriteWindowPNG(&body, png, error)) << error;
    GdkPixbuf* picture = gdk_pixbuf_new_from_file(png.c_str(), nullptr);
    ASSERT_NE(picture, nullptr);
    EXPECT_GT(GreyPixels(picture, {42, 146, 180, 18}), 40);
    g_object_unref(picture);

    const std::vector<GtkWidget*> scrollers =
        Find(body.window(), [](GtkWidget* w) { return GTK_IS_SCROLLED_WINDOW(w); });
    ASSERT_EQ(scrollers.size(), 1u);
    EXPECT_FALSE(gtk_scrolled_window_get_overlay_scrolling(GTK_SCROLLED_WINDOW(scrollers[0])));

    logic.addEntry();  // both fields empty: the longest message
    Pump();
    const std::vector<GtkWidget*> messages = Find(body.window(), [](GtkWidget* w) {
        return GTK_IS_LABEL(w) && std::string_view(gtk_label_get_text(GTK_LABEL(w))) ==
                                      "請輸入 1～6 碼且不含空白的字碼，以及非空白詞組。";
    });
    ASSERT_EQ(messages.size(), 1u);
    // The label makes its layout anew as it is laid out: asked for again after every pump.
    GtkLabel* const message = GTK_LABEL(messages[0]);
    int textHeight = 0;
    GtkAllocation shown;
    PumpUntil([&] {
        pango_layout_get_pixel_size(gtk_label_get_layout(message), nullptr, &textHeight);
        gtk_widget_get_allocation(messages[0], &shown);
        return shown.height >= textHeight;
    });
    PangoLayout* const layout = gtk_label_get_layout(message);
    EXPECT_FALSE(pango_layout_is_ellipsized(layout));
    EXPECT_GE(shown.height, textHeight);
    EXPECT_GT(pango_layout_get_line_count(layout), 1);
}

TEST_F(GtkWindows, PicturesAreOfTheContentAreaOnePointOnePixel) {
    const std::filesystem::path out = services.locations().root() / "window.png";
    RenderWindowOptions options;
    options.out = out;
    std::string error;
    ASSERT_TRUE(renderWindow(options, error)) << error;
    GdkPixbuf* picture = gdk_pixbuf_new_from_file(out.c_str(), nullptr);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(gdk_pixbuf_get_width(picture), 790);
    EXPECT_EQ(gdk_pixbuf_get_height(picture), 570);
    g_object_unref(picture);

    options.window = RenderedWindow::Words;
    options.size = Size{700, 500};
    ASSERT_TRUE(renderWindow(options, error)) << error;
    picture = gdk_pixbuf_new_from_file(out.c_str(), nullptr);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(gdk_pixbuf_get_width(picture), 700);
    EXPECT_EQ(gdk_pixbuf_get_height(picture), 500);
    g_object_unref(picture);
}

}  // namespace
}  // namespace kv
