// SPDX-License-Identifier: MIT
// The settings file: typed values across restarts, presence, a damaged file moved aside, and
// writes of two stores on one file that never leave half a file or lose each other's keys.
#include "platform/linux/key_file_user_defaults.h"

#include <gtest/gtest.h>

#include <string>

#include "linux_test_support.h"
#include "platform/linux/defaults_key_file.h"
#include "platform/memory/recording_log.h"
#include "platform/services.h"

namespace kv {
namespace {

class KeyFileUserDefaultsTest : public test::LinuxTest {
  protected:
    std::filesystem::path file() const { return KeyFileUserDefaults::standardPath(); }
};

TEST_F(KeyFileUserDefaultsTest, LivesUnderTheXdgConfigDirectory) {
    EXPECT_EQ(file(), root() / "config" / "CQ_Input_KV" / "defaults.conf");
    KeyFileUserDefaults defaults(file());
    EXPECT_FALSE(std::filesystem::exists(file()));  // reading creates nothing
    EXPECT_FALSE(defaults.objectForKey("ThemePreset"));
    defaults.setInteger("ThemePreset", 3);
    EXPECT_TRUE(std::filesystem::is_regular_file(file()));
}

TEST_F(KeyFileUserDefaultsTest, ValuesKeepTheirTypesAcrossARestart) {
    {
        KeyFileUserDefaults defaults(file());
        defaults.setBool("PersistentToolbar", false);
        defaults.setInteger("ThemePreset", -3);
        defaults.setInteger("ThemeBorder", 0x1FF8000);
        defaults.setObject("Scale", 1.25);
        defaults.setObject("ToggleKey", std::string("Shift"));
        defaults.setObject("Tricky", std::string("true"));
        defaults.setObject("Lines", std::string(" two\nlines\t\\ ;#[x]=y "));
        defaults.setObject("Chinese", std::string("星際深藍"));
    }
    const KeyFileUserDefaults defaults(file());
    EXPECT_EQ(defaults.objectForKey("PersistentToolbar"), DefaultsValue(false));
    EXPECT_EQ(defaults.objectForKey("ThemePreset"), DefaultsValue(std::int64_t{-3}));
    EXPECT_EQ(defaults.integerForKey("ThemeBorder"), 0x1FF8000);
    EXPECT_EQ(defaults.objectForKey("Scale"), DefaultsValue(1.25));
    EXPECT_EQ(defaults.stringForKey("ToggleKey"), "Shift");
    EXPECT_EQ(defaults.objectForKey("Tricky"), DefaultsValue(std::string("true")));
    EXPECT_EQ(defaults.stringForKey("Lines"), " two\nlines\t\\ ;#[x]=y ");
    EXPECT_EQ(defaults.stringForKey("Chinese"), "星際深藍");
}

TEST_F(KeyFileUserDefaultsTest, HandWrittenValuesAreCoercedAsTheDesktopStoreDoes) {
    write(file(),
          "# my settings\n[Boolean]\nLetterSelection=true\nBad=maybe\n"
          "[Integer]\nThemePreset=abc\nCandidateFontSize= 22 \nFlag=1\n"
          "[String]\nToggleKey=CapsLock\nThemePreset=9\n[Other]\nKept=yes\n");
    KeyFileUserDefaults defaults(file());
    EXPECT_TRUE(defaults.boolForKey("LetterSelection"));
    EXPECT_EQ(defaults.integerForKey("LetterSelection"), 1);
    EXPECT_EQ(defaults.stringForKey("Bad"), "maybe");
    EXPECT_TRUE(defaults.objectForKey("ThemePreset"));  // present, but no number: reads 0
    EXPECT_EQ(defaults.integerForKey("ThemePreset"), 0);
    EXPECT_EQ(defaults.integerForKey("CandidateFontSize"), 22);
    EXPECT_EQ(defaults.stringForKey("ToggleKey"), "CapsLock");
    EXPECT_FALSE(defaults.objectForKey("Kept"));

    // A write keeps the user's comment and the group it does not know.
    defaults.setInteger("ThemePreset", 4);
    const std::string after = read(file());
    EXPECT_NE(after.find("# my settings"), std::string::npos);
    EXPECT_NE(after.find("[Other]\nKept=yes"), std::string::npos);
    EXPECT_EQ(KeyFileUserDefaults(file()).integerForKey("ThemePreset"), 4);
}

TEST_F(KeyFileUserDefaultsTest, AFileThatCannotBeParsedIsMovedAsideAndReadsEmpty) {
    const std::string damaged = "[Integer]\nThemePreset=3\n this line has no group or key\n\xFF";
    write(file(), damaged);
    ServiceSet logOnly;
    auto log = std::make_unique<RecordingLog>();
    const RecordingLog& logged = *log;
    logOnly.log = std::move(log);
    ServiceSet previous = installServices(std::move(logOnly));
    KeyFileUserDefaults defaults(file());
    EXPECT_FALSE(defaults.objectForKey("ThemePreset"));

    const std::vector<std::string> names = list(file().parent_path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].rfind("defaults.conf.corrupt-", 0), 0u) << names[0];
    EXPECT_EQ(logged.lines, std::vector<std::string>{"the settings file " + file().string() +
                                                     " cannot be read; moved aside to " +
                                                     (file().parent_path() / names[0]).string()});
    installServices(std::move(previous));
    EXPECT_EQ(read(file().parent_path() / names[0]), damaged);

    defaults.setInteger("ThemePreset", 5);
    EXPECT_EQ(list(file().parent_path()).size(), 2u);
    EXPECT_EQ(read(file().parent_path() / names[0]), damaged);
    EXPECT_EQ(KeyFileUserDefaults(file()).integerForKey("ThemePreset"), 5);

    // A second damage the same second keeps the first one's copy too.
    write(file(), "[broken");
    KeyFileUserDefaults again(file());
    EXPECT_FALSE(again.objectForKey("ThemePreset"));
    EXPECT_EQ(list(file().parent_path()).size(), 2u);
    again.setBool("FullwidthMode", true);
    EXPECT_EQ(list(file().parent_path()).size(), 3u);
}

TEST_F(KeyFileUserDefaultsTest, InterleavedWritersLeaveAWholeFileWithEveryKey) {
    KeyFileUserDefaults first(file());
    KeyFileUserDefaults second(file());
    for (int i = 0; i < 40; ++i) {
        KeyFileUserDefaults& writer = i % 2 == 0 ? first : second;
        writer.setInteger("Key" + std::to_string(i), i);
        writer.setObject("Shared", std::string(static_cast<std::size_t>(i * 7), 'x'));
        const std::optional<DefaultsMap> onDisk = ParseDefaultsKeyFile(read(file()));
        ASSERT_TRUE(onDisk) << i;
        EXPECT_EQ(onDisk->size(), static_cast<std::size_t>(i + 2)) << i;
    }
    EXPECT_EQ(first.integerForKey("Key39"), 39);
    EXPECT_EQ(second.integerForKey("Key0"), 0);
    EXPECT_TRUE(second.objectForKey("Key0"));
    EXPECT_EQ(second.stringForKey("Shared")->size(), 39u * 7);
    // No temporary file is left beside it.
    EXPECT_EQ(list(file().parent_path()), std::vector<std::string>{"defaults.conf"});
}

TEST_F(KeyFileUserDefaultsTest, KeysAndTextTheFileCannotHoldAreRefused) {
    KeyFileUserDefaults defaults(file());
    defaults.setInteger("ThemePreset", 1);
    for (const char* key : {"", "a=b", "[Group]", "two\nlines", " padded", "#comment"}) {
        defaults.setInteger(key, 7);
        EXPECT_FALSE(defaults.objectForKey(key)) << key;
    }
    defaults.setObject("Binary", std::string("a\0b", 3));
    defaults.setObject("Latin1", std::string("caf\xE9"));
    EXPECT_FALSE(defaults.objectForKey("Binary"));
    EXPECT_FALSE(defaults.objectForKey("Latin1"));
    const KeyFileUserDefaults restarted(file());
    EXPECT_EQ(restarted.integerForKey("ThemePreset"), 1);
}

TEST_F(KeyFileUserDefaultsTest, AWriteOfAnotherTypeMovesTheKey) {
    KeyFileUserDefaults defaults(file());
    defaults.setObject("ToggleKey", std::string("Shift"));
    defaults.setBool("ToggleKey", true);
    const KeyFileUserDefaults restarted(file());
    EXPECT_EQ(restarted.objectForKey("ToggleKey"), DefaultsValue(true));
    EXPECT_EQ(read(file()).find("Shift"), std::string::npos);
}

}  // namespace
}  // namespace kv
