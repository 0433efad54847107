// SPDX-License-Identifier: MIT
// The settings window as its user sees it: the controls filled from the stored settings, the
// preview following the wells and the size, and what Save and the close box store.
#include "settings/preferences_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_services.h"
#include "settings/packed_color.h"
#include "settings/settings_keys.h"

namespace kv {
namespace {

// Remembers what the window asked of its body.
struct RecordingBody final : PreferencesWindowBody {
    void windowDidChange(const KVPreferencesWindow&) override { ++changes; }
    void orderFront() override { calls.push_back("front"); }
    void orderOut() override { calls.push_back("out"); }
    int changes = 0;
    std::vector<std::string> calls;
};

class PreferencesWindow : public ::testing::Test {
  protected:
    PreferencesWindow() {
        defaultCenter().addObserver(this, KVSettingsDidChangeNotification,
                                    [this](const Notification&) {
                                        ++posted;
                                        storedWhenPosted = services.defaults().values.size();
                                    });
    }

    // A window built now, with a body that records.
    KVPreferencesWindow& open() {
        window = std::make_unique<KVPreferencesWindow>(
            KVPreferencesWindow::Hooks{[this](KVPreferencesWindow&) {
                                           auto made = std::make_unique<RecordingBody>();
                                           body = made.get();
                                           return made;
                                       },
                                       [this] { ++wordsOpened; }});
        window->showWindow();
        return *window;
    }

    std::int64_t stored(std::string_view key) const {
        return services.defaults().integerForKey(key);
    }
    void store(std::string_view key, const DefaultsValue& value) {
        services.defaults().setObject(key, value);
    }

    MemoryServices services;
    std::unique_ptr<KVPreferencesWindow> window;
    RecordingBody* body = nullptr;
    int posted = 0;
    std::size_t storedWhenPosted = 0;
    int wordsOpened = 0;
};

const ThemeColors& Preset(std::size_t index) {
    static const auto themes = KVPreferenceThemes();
    return themes[index];
}

TEST_F(PreferencesWindow, FirstOpeningWithNothingStored) {
    const KVPreferencesWindow& w = open();
    const PreferencesControls& c = w.controls();
    EXPECT_TRUE(c.capsRadio);
    EXPECT_FALSE(c.shiftRadio);
    EXPECT_TRUE(c.persistentToolbar);
    EXPECT_EQ(c.followMode, 0u);
    EXPECT_FALSE(c.letterSelection);
    EXPECT_EQ(c.scriptMode, 0u);
    EXPECT_EQ(c.theme, 0u);
    EXPECT_EQ(KVFontSizeTitles[c.fontSize], "18 px");
    EXPECT_EQ(c.colorWells, Preset(0));
    // A navy box with a blue-grey border, a blue first row in white, light text on the navy.
    const PreferencesPreview& p = w.preview();
    EXPECT_EQ(p.background, Color::fromRGB255(11, 20, 34));
    EXPECT_EQ(p.border, Color::fromRGB255(42, 71, 91));
    EXPECT_EQ(p.firstBackground, Color::fromRGB255(13, 112, 147));
    EXPECT_EQ(p.firstText, Color::fromRGB255(255, 255, 255));
    EXPECT_EQ(p.secondText, Color::fromRGB255(235, 246, 255));
    EXPECT_EQ(p.font, Font::system(18));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(body->calls, std::vector<std::string>{"front"});
    EXPECT_TRUE(services.defaults().values.empty()) << "opening stores nothing";
}

TEST_F(PreferencesWindow, StoredValuesAreReadWithTheWindowsOwnRules) {
    store(SettingsKey::ToggleKey, std::string("shift"));  // not "CapsLock": the Shift radio
    store(SettingsKey::PersistentToolbar, false);
    store(SettingsKey::ToolbarFollowMode, std::int64_t{7});
    store(SettingsKey::LetterSelection, true);
    store(SettingsKey::SimplifiedOutput, true);
    store(SettingsKey::ThemePreset, std::int64_t{-3});
    const PreferencesControls& c = open().controls();
    EXPECT_FALSE(c.capsRadio);
    EXPECT_TRUE(c.shiftRadio);
    EXPECT_FALSE(c.persistentToolbar);
    EXPECT_EQ(c.followMode, 2u);
    EXPECT_TRUE(c.letterSelection);
    EXPECT_EQ(c.scriptMode, 1u);
    EXPECT_EQ(c.theme, 0u);
}

TEST_F(PreferencesWindow, PresetsResetTheWellsAndAPickedColourChangesOne) {
    KVPreferencesWindow& w = open();
    w.selectTheme(9);  // "極致對比"
    EXPECT_EQ(w.controls().colorWells, Preset(9));
    EXPECT_EQ(w.preview().firstBackground, Color::fromRGB255(255, 221, 0));

    const Color orange = Color::fromRGB255(255, 128, 0);
    w.pickColor(ThemeTextIndex, orange);
    ThemeColors expected = Preset(9);
    expected[ThemeTextIndex] = orange;
    EXPECT_EQ(w.controls().colorWells, expected);
    EXPECT_EQ(w.preview().secondText, orange);

    w.selectTheme(9);  // the same preset again discards the picked colour
    EXPECT_EQ(w.controls().colorWells, Preset(9));
    w.pickColor(ThemeBorderIndex, orange);
    w.selectTheme(2);
    EXPECT_EQ(w.controls().colorWells, Preset(2));
    EXPECT_GT(body->changes, 0) << "the body hears of every change";
}

TEST_F(PreferencesWindow, StoredCustomColoursWinOverTheStoredPreset) {
    store(SettingsKey::ThemePreset, std::int64_t{3});
    store(SettingsKey::ThemeBackground, std::int64_t{0x1FF8000});  // high bits ignored
    store(SettingsKey::ThemeBorder, std::int64_t{0});              // black, not absent
    const KVPreferencesWindow& w = open();
    EXPECT_EQ(w.controls().theme, 3u);
    ThemeColors expected = Preset(3);
    expected[ThemeBackgroundIndex] = Color::fromRGB255(255, 128, 0);
    expected[ThemeBorderIndex] = Color::fromRGB255(0, 0, 0);
    EXPECT_EQ(w.controls().colorWells, expected) << "loading must not reset the wells";
    EXPECT_EQ(w.preview().background, Color::fromRGB255(255, 128, 0));
}

TEST_F(PreferencesWindow, FontSizeOutsideTheListShowsEighteenAndSavesIt) {
    store(SettingsKey::CandidateFontSize, std::int64_t{15});
    KVPreferencesWindow& w = open();
    EXPECT_EQ(KVFontSizeTitles[w.controls().fontSize], "18 px");
    EXPECT_EQ(w.preview().font.pointSize, 18);
    w.save();
    EXPECT_EQ(stored(SettingsKey::CandidateFontSize), 18);

    store(SettingsKey::CandidateFontSize, std::int64_t{24});
    w.showWindow();
    EXPECT_EQ(KVFontSizeTitles[w.controls().fontSize], "24 px");
    w.selectFontSize(6);  // "28 px": the preview follows before anything is saved
    EXPECT_EQ(w.preview().font, Font::system(28));
    EXPECT_EQ(stored(SettingsKey::CandidateFontSize), 24);
    w.save();
    EXPECT_EQ(stored(SettingsKey::CandidateFontSize), 28);
}

TEST_F(PreferencesWindow, SaveStoresEveryKeyItEditsAndPostsOnce) {
    KVPreferencesWindow& w = open();
    w.toggleRadio(ToggleRadio::Shift);
    EXPECT_FALSE(w.controls().capsRadio);
    EXPECT_TRUE(w.controls().shiftRadio);
    w.setPersistentToolbar(false);
    w.selectFollowMode(1);
    w.setLetterSelection(true);
    w.selectScriptMode(1);
    w.save();

    EXPECT_EQ(posted, 1);
    EXPECT_EQ(storedWhenPosted, 13u) << "every key but FullwidthMode, before the notification";
    const MemoryUserDefaults& d = services.defaults();
    EXPECT_EQ(d.stringForKey(SettingsKey::ToggleKey), "Shift");
    EXPECT_EQ(d.objectForKey(SettingsKey::PersistentToolbar), DefaultsValue(false));
    EXPECT_EQ(stored(SettingsKey::ToolbarFollowMode), 1);
    EXPECT_TRUE(d.boolForKey(SettingsKey::LetterSelection));
    EXPECT_EQ(d.objectForKey(SettingsKey::SimplifiedOutput), DefaultsValue(true));
    EXPECT_EQ(stored(SettingsKey::ThemePreset), 0);
    // All six colours, although none was changed.
    for (std::size_t i = 0; i < KVThemeColorCount; ++i) {
        EXPECT_EQ(stored(KVThemeColorKeys[i]), KVPackedColor(Preset(0)[i])) << KVThemeColorKeys[i];
    }
    EXPECT_EQ(stored(SettingsKey::ThemeSelection), 880787);
    EXPECT_FALSE(d.objectForKey(SettingsKey::FullwidthMode).has_value());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(body->calls, (std::vector<std::string>{"front", "out"}));

    w.showWindow();
    w.toggleRadio(ToggleRadio::CapsLock);
    w.save();
    EXPECT_EQ(d.stringForKey(SettingsKey::ToggleKey), "CapsLock");
    EXPECT_EQ(posted, 2);
}

TEST_F(PreferencesWindow, ASaveThatCannotBeStoredSaysWhyAndBeeps) {
    KVPreferencesWindow& w = open();
    w.selectScriptMode(1);
    services.defaults().failingWrites = "No space left on device";
    w.save();
    EXPECT_EQ(services.beep().count, 1);
    EXPECT_EQ(w.saveProblem(), "無法儲存設定：No space left on device");
    EXPECT_TRUE(w.isVisible()) << "open, so the user reads why";
    EXPECT_EQ(posted, 1) << "the new values are in force for this session";
    EXPECT_TRUE(services.defaults().boolForKey(SettingsKey::SimplifiedOutput));

    services.defaults().failingWrites.reset();
    w.save();
    EXPECT_EQ(w.saveProblem(), "");
    EXPECT_FALSE(w.isVisible());
}

TEST_F(PreferencesWindow, ClosingWithoutSaveStoresAndPostsNothing) {
    KVPreferencesWindow& w = open();
    w.toggleRadio(ToggleRadio::Shift);
    w.selectTheme(5);
    w.pickColor(ThemeTextIndex, Color::fromRGB255(1, 2, 3));
    w.selectFontSize(0);
    w.windowWillClose();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(body->calls, (std::vector<std::string>{"front", "out"}));
    EXPECT_TRUE(services.defaults().values.empty());
    EXPECT_EQ(posted, 0);

    // The next showing drops the edits and shows the stored values again.
    w.showWindow();
    EXPECT_TRUE(w.controls().capsRadio);
    EXPECT_EQ(w.controls().colorWells, Preset(0));
    EXPECT_EQ(w.controls().fontSize, 2u);
}

TEST_F(PreferencesWindow, OutOfRangeActionsAreIgnoredAndWordsOpensTheEditor) {
    KVPreferencesWindow& w = open();
    const PreferencesControls before = w.controls();
    w.selectTheme(10);
    w.selectFontSize(7);
    w.selectFollowMode(3);
    w.selectScriptMode(2);
    w.pickColor(6, Color::fromRGB255(1, 2, 3));
    EXPECT_EQ(w.controls().theme, before.theme);
    EXPECT_EQ(w.controls().fontSize, before.fontSize);
    EXPECT_EQ(w.controls().followMode, before.followMode);
    EXPECT_EQ(w.controls().scriptMode, before.scriptMode);
    EXPECT_EQ(w.controls().colorWells, before.colorWells);
    w.openWords();
    EXPECT_EQ(wordsOpened, 1);
    EXPECT_TRUE(w.isVisible()) << "the settings window stays open";
}

}  // namespace
}  // namespace kv
