// SPDX-License-Identifier: MIT
// The settings file: typed values across restarts, presence, a damaged file moved aside, and
// writes of two stores on one file that never leave half a file or lose each other's keys.
#include "platform/linux/key_file_user_defaults.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "linux_test_support.h"
#include "platform/linux/defaults_key_file.h"
#include "platform/memory/recording_log.h"
#include "platform/services.h"
#include "tests/support/small_disk.h"

namespace kv {
namespace {

// A log of its own for the life of the object.
class LogCapture {
  public:
    LogCapture() {
        ServiceSet logOnly;
        auto log = std::make_unique<RecordingLog>();
        _log = log.get();
        logOnly.log = std::move(log);
        _previous = installServices(std::move(logOnly));
    }
    ~LogCapture() { installServices(std::move(_previous)); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    const std::vector<std::string>& lines() const { return _log->lines; }

  private:
    RecordingLog* _log = nullptr;
    ServiceSet _previous;
};

class KeyFileUserDefaultsTest : public test::LinuxTest {
  protected:
    std::filesystem::path file() const { return KeyFileUserDefaults::standardPath(); }
};

TEST_F(KeyFileUserDefaultsTest, ValuesKeepTheirTypesAcrossARestart) {
    {
        KeyFileUserDefaults defaults(file());
        defaults.setBool("PersistentToolbar", false);
        defaults.setInteger("ThemePreset", -3);
        defaults.setObject("Scale", 1.25);
        defaults.setObject("ToggleKey", std::string("Shift"));
        defaults.setObject("Tricky", std::string("true"));
        defaults.setObject("Lines", std::string(" two\nlines\t\\ ;#[x]=y "));
        defaults.setObject("Chinese", std::string("星際深藍"));
        defaults.setObject("Retyped", std::string("Shift"));
        defaults.setBool("Retyped", true);  // moves the key to the other type's group
    }
    const KeyFileUserDefaults defaults(file());
    EXPECT_EQ(defaults.objectForKey("PersistentToolbar"), DefaultsValue(false));
    EXPECT_EQ(defaults.objectForKey("ThemePreset"), DefaultsValue(std::int64_t{-3}));
    EXPECT_EQ(defaults.objectForKey("Scale"), DefaultsValue(1.25));
    EXPECT_EQ(defaults.stringForKey("ToggleKey"), "Shift");
    EXPECT_EQ(defaults.objectForKey("Tricky"), DefaultsValue(std::string("true")));
    EXPECT_EQ(defaults.stringForKey("Lines"), " two\nlines\t\\ ;#[x]=y ");
    EXPECT_EQ(defaults.stringForKey("Chinese"), "星際深藍");
    EXPECT_EQ(defaults.objectForKey("Retyped"), DefaultsValue(true));
    EXPECT_EQ(read(file()).find("Retyped=Shift"), std::string::npos);
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
    auto log = std::make_unique<LogCapture>();
    KeyFileUserDefaults defaults(file());
    EXPECT_FALSE(defaults.objectForKey("ThemePreset"));

    const std::vector<std::string> names = list(file().parent_path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].rfind("defaults.conf.corrupt-", 0), 0u) << names[0];
    EXPECT_EQ(log->lines(), std::vector<std::string>{"the settings file " + file().string() +
                                                     " cannot be read; moved aside to " +
                                                     (file().parent_path() / names[0]).string()});
    log.reset();

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

TEST_F(KeyFileUserDefaultsTest, AFifoOrADeviceAsTheFileIsRefusedWithoutWaiting) {
    // A FIFO would block for good and /dev/zero take gigabytes: the time bound fails them.
    std::filesystem::create_directories(file().parent_path());
    const std::string notRegular =
        "the path is not a regular file but a FIFO, a device or a socket";
    const struct {
        std::string_view name;
        std::string problem;
    } cases[] = {
        {"fifo", notRegular}, {"zero", notRegular}, {"large", "the file is larger than 1 MiB"}};
    ASSERT_EQ(::mkfifo((root() / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", root() / "zero");
    write(root() / "large", "[Integer]\nThemePreset=3\n");
    std::filesystem::resize_file(root() / "large", (1u << 20) + 1);
    for (const auto& [name, problem] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove(file());
        std::filesystem::create_symlink(root() / name, file());
        const LogCapture log;
        KeyFileUserDefaults defaults(file());
        EXPECT_FALSE(defaults.objectForKey("ThemePreset"));
        EXPECT_EQ(log.lines(),
                  std::vector<std::string>{"the settings file " + file().string() +
                                           " is refused: " + problem + "; settings are not saved"});
        EXPECT_EQ(
            defaults.setInteger("ThemePreset", 4),
            "the settings file " + file().string() + " cannot be read, so it is not replaced");
        EXPECT_EQ(defaults.integerForKey("ThemePreset"), 4) << "in force for the session";
        EXPECT_TRUE(std::filesystem::is_symlink(file())) << "left alone";
    }
}

TEST_F(KeyFileUserDefaultsTest, ASaveThatCannotBeWrittenSaysWhyAndLeavesTheFileWhole) {
    const kvtest::SmallDisk disk(file().parent_path());
    KeyFileUserDefaults defaults(file());
    EXPECT_EQ(defaults.setInteger("ThemePreset", 3), std::nullopt);
    const std::string saved = read(file());
    disk.fill();
    const DefaultsWriteProblem full = defaults.setObject("Long", std::string(8000, 'x'));
    EXPECT_EQ(full, "No space left on device: " + file().string());
    EXPECT_EQ(read(file()), saved);
    EXPECT_EQ(defaults.stringForKey("Long")->size(), 8000u) << "in force for the session";

    disk.makeReadOnly();
    const DefaultsWriteProblem readOnly = defaults.setBool("FullwidthMode", true);
    EXPECT_EQ(readOnly, "Read-only file system: " + file().string());
    EXPECT_EQ(read(file()), saved);
}

TEST_F(KeyFileUserDefaultsTest, LivesUnderTheXdgConfigDirectoryWhereOnlyTheUserReads) {
    EXPECT_EQ(file(), root() / "config" / "CQ_Input_KV" / "defaults.conf");
    KeyFileUserDefaults defaults(file());
    EXPECT_FALSE(std::filesystem::exists(file()));  // reading creates nothing
    const mode_t old = ::umask(022);
    defaults.setInteger("ThemePreset", 1);
    ::umask(old);
    EXPECT_EQ(std::filesystem::status(file().parent_path()).permissions(),
              std::filesystem::perms::owner_all);
    EXPECT_EQ(std::filesystem::status(file()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
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
    for (const std::string& text : {std::string("a\0b", 3), std::string("caf\xE9")}) {
        defaults.setObject("Text", text);
        EXPECT_FALSE(defaults.objectForKey("Text"));
    }
    const KeyFileUserDefaults restarted(file());
    EXPECT_EQ(restarted.integerForKey("ThemePreset"), 1);
}

}  // namespace
}  // namespace kv
