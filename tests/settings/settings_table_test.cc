// SPDX-License-Identifier: MIT
// Each reader's fallbacks and clamps, as the user would see them with stored or missing keys.
#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_services.h"
#include "settings/settings_writer.h"

namespace kv {
namespace {

class SettingsTable : public ::testing::Test {
  protected:
    MemoryServices services;
    MemoryUserDefaults& defaults = services.defaults();
};

TEST_F(SettingsTable, NothingStoredGivesEachReadersFallback) {
    const ControllerSettings controller = KVReadControllerSettings();
    EXPECT_FALSE(controller.toggleWithShift);
    EXPECT_TRUE(controller.persistentToolbar);
    EXPECT_EQ(controller.toolbarFollowMode, 0);
    EXPECT_FALSE(controller.letterSelection);
    EXPECT_FALSE(controller.simplifiedOutput);
    EXPECT_FALSE(controller.fullwidthMode);

    const CandidateWindowSettings candidates = KVReadCandidateWindowSettings();
    EXPECT_EQ(candidates.themePreset, 0);
    EXPECT_EQ(candidates.colors, KVPreferenceThemes()[0]);
    EXPECT_EQ(candidates.fontSize, 16);

    const SettingsWindowSettings window = KVReadSettingsWindowSettings();
    EXPECT_TRUE(window.capsLockToggle);
    EXPECT_TRUE(window.persistentToolbar);
    EXPECT_EQ(window.toolbarFollowMode, 0);
    EXPECT_FALSE(window.letterSelection);
    EXPECT_FALSE(window.simplifiedOutput);
    EXPECT_EQ(window.themePreset, 0);
    EXPECT_EQ(window.colors, KVPreferenceThemes()[0]);
    EXPECT_EQ(KVFontSizeTitles[window.fontSizeIndex], "18 px");
}

TEST_F(SettingsTable, IntegersAreClampedIntoRange) {
    defaults.setInteger("ThemePreset", -3);
    defaults.setInteger("ToolbarFollowMode", -1);
    EXPECT_EQ(KVReadCandidateWindowSettings().themePreset, 0);
    EXPECT_EQ(KVReadSettingsWindowSettings().themePreset, 0);
    EXPECT_EQ(KVReadControllerSettings().toolbarFollowMode, 0);
    EXPECT_EQ(KVReadSettingsWindowSettings().toolbarFollowMode, 0);

    defaults.setInteger("ThemePreset", 42);
    defaults.setInteger("ToolbarFollowMode", 7);
    EXPECT_EQ(KVReadCandidateWindowSettings().themePreset, 9);
    EXPECT_EQ(KVReadCandidateWindowSettings().colors, KVPreferenceThemes()[9]);
    EXPECT_EQ(KVReadSettingsWindowSettings().themePreset, 9);
    EXPECT_EQ(KVReadControllerSettings().toolbarFollowMode, 2);
    EXPECT_EQ(KVReadSettingsWindowSettings().toolbarFollowMode, 2);

    // A string that is not a number reads as 0.
    defaults.setObject("ThemePreset", std::string("dark"));
    EXPECT_EQ(KVReadCandidateWindowSettings().themePreset, 0);
}

TEST_F(SettingsTable, FontSizeDiffersBetweenCandidateAndSettingsWindow) {
    struct Row {
        std::int64_t stored;
        std::int64_t candidateWindow;
        std::string_view settingsWindow;
    };
    for (const Row& row :
         {Row{15, 15, "18 px"}, Row{13, 16, "18 px"}, Row{29, 16, "18 px"}, Row{0, 16, "18 px"},
          Row{14, 14, "14 px"}, Row{28, 28, "28 px"}, Row{26, 26, "18 px"}, Row{22, 22, "22 px"}}) {
        defaults.setInteger("CandidateFontSize", row.stored);
        EXPECT_EQ(KVReadCandidateWindowSettings().fontSize, row.candidateWindow) << row.stored;
        EXPECT_EQ(KVFontSizeTitles[KVReadSettingsWindowSettings().fontSizeIndex],
                  row.settingsWindow)
            << row.stored;
    }
}

TEST_F(SettingsTable, ToggleKeyIsReadDifferentlyByControllerAndSettingsWindow) {
    defaults.setObject("ToggleKey", std::string("shift"));
    EXPECT_FALSE(KVReadControllerSettings().toggleWithShift);
    EXPECT_FALSE(KVReadSettingsWindowSettings().capsLockToggle);

    defaults.setObject("ToggleKey", std::string("Shift"));
    EXPECT_TRUE(KVReadControllerSettings().toggleWithShift);
    EXPECT_FALSE(KVReadSettingsWindowSettings().capsLockToggle);

    defaults.setObject("ToggleKey", std::string("CapsLock"));
    EXPECT_FALSE(KVReadControllerSettings().toggleWithShift);
    EXPECT_TRUE(KVReadSettingsWindowSettings().capsLockToggle);
}

TEST_F(SettingsTable, PresenceDecidesAPersistentToolbarNotTheValue) {
    defaults.setBool("PersistentToolbar", false);
    EXPECT_FALSE(KVReadControllerSettings().persistentToolbar);
    EXPECT_FALSE(KVReadSettingsWindowSettings().persistentToolbar);
    defaults.setBool("PersistentToolbar", true);
    EXPECT_TRUE(KVReadControllerSettings().persistentToolbar);

    defaults.setBool("SimplifiedOutput", true);
    defaults.setBool("FullwidthMode", true);
    defaults.setBool("LetterSelection", true);
    const ControllerSettings controller = KVReadControllerSettings();
    EXPECT_TRUE(controller.simplifiedOutput && controller.fullwidthMode &&
                controller.letterSelection);
}

TEST_F(SettingsTable, AStoredColourWinsAndAnAbsentOneFollowsThePreset) {
    defaults.setInteger("ThemePreset", 9);
    defaults.setInteger("ThemeText", 0);  // black, although preset 9 has white text
    defaults.setInteger("ThemeBorder", 0x1FF8000);
    const CandidateWindowSettings candidates = KVReadCandidateWindowSettings();
    EXPECT_EQ(candidates.colors[ThemeTextIndex], Color::fromRGB255(0, 0, 0));
    EXPECT_EQ(candidates.colors[ThemeBorderIndex], Color::fromRGB255(255, 128, 0));
    EXPECT_EQ(candidates.colors[ThemeSelectionIndex], Color::fromRGB255(255, 221, 0));
    EXPECT_EQ(KVReadSettingsWindowSettings().colors, candidates.colors);

    // The keyboard ignores the preset: its fallbacks are fixed.
    const KeyboardColors keyboard = KVReadKeyboardColors();
    EXPECT_EQ(keyboard.background, Color::fromRGB255(11, 20, 34));
    EXPECT_EQ(keyboard.border, Color::fromRGB255(255, 128, 0));
    defaults.setInteger("ThemeMuted", -1);
    EXPECT_EQ(KVReadKeyboardColors().muted, Color::fromRGB255(255, 255, 255));
}

TEST_F(SettingsTable, WhatTheWriterStoresReadsBackUnchanged) {
    SettingsWindowSettings written;
    written.capsLockToggle = false;
    written.persistentToolbar = false;
    written.toolbarFollowMode = 2;
    written.letterSelection = true;
    written.simplifiedOutput = true;
    written.themePreset = 3;
    written.colors = KVPreferenceThemes()[5];
    written.fontSizeIndex = 4;
    KVWriteSettingsWindowSettings(written);
    const SettingsWindowSettings read = KVReadSettingsWindowSettings();
    EXPECT_EQ(read.capsLockToggle, written.capsLockToggle);
    EXPECT_EQ(read.persistentToolbar, written.persistentToolbar);
    EXPECT_EQ(read.toolbarFollowMode, written.toolbarFollowMode);
    EXPECT_EQ(read.letterSelection, written.letterSelection);
    EXPECT_EQ(read.simplifiedOutput, written.simplifiedOutput);
    EXPECT_EQ(read.themePreset, written.themePreset);
    EXPECT_EQ(read.colors, written.colors);
    EXPECT_EQ(read.fontSizeIndex, written.fontSizeIndex);
    // The controller reads the same keys: Shift toggles, simplified output is on.
    const ControllerSettings controller = KVReadControllerSettings();
    EXPECT_TRUE(controller.toggleWithShift);
    EXPECT_TRUE(controller.simplifiedOutput);

    // A value beyond a rule's range is stored inside it.
    KVWriteSetting(defaults, SettingsWindowRules::ThemePreset, 42);
    EXPECT_EQ(defaults.integerForKey(SettingsKey::ThemePreset), 9);
}

}  // namespace
}  // namespace kv
