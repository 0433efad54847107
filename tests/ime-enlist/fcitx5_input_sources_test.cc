// SPDX-License-Identifier: MIT
// Registering with fcitx5 where no session bus answers: the descriptions fcitx5 would read, and
// bundles and files in the user's folder that must not break the run. fcitx5's side is in the
// desktop tests.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/linux/fcitx5_description.h"
#include "platform/linux/fcitx5_input_sources.h"
#include "tests/support/temp_dir.h"

namespace kv {
namespace {

constexpr std::string_view kAddon =
    "# the bundle's own\n[Addon]\nName=CQInputKV\nLibrary=cqinputkv-fcitx5\nType=SharedLibrary\n"
    "\n[Addon/Dependencies]\n0=dbus\n";
constexpr std::string_view kInputMethod =
    "[InputMethod]\nName=CQInputKV\nIcon=cqinputkv\nLabel=字\n";

TEST(FcitxDescription, OneValueIsSetAndEveryOtherByteKept) {
    EXPECT_EQ(WithFcitxValue(kAddon, "Addon", "Library", "/b/Contents/PlugIns/x"),
              "# the bundle's own\n[Addon]\nLibrary=/b/Contents/PlugIns/x\nName=CQInputKV\n"
              "Type=SharedLibrary\n\n[Addon/Dependencies]\n0=dbus\n");
    // Spaces, CRLF lines, a repeated key (fcitx5 reads the last) and the section opened twice;
    // the same key in another section and in a comment stays.
    EXPECT_EQ(WithFcitxValue("[Other]\nIcon=a\r\n [InputMethod] \r\n  Icon = b\r\n#Icon=c\n"
                             "Icon=d\n[InputMethod]\nIcon=e",
                             "InputMethod", "Icon", "/it's mine/i.svg"),
              "[Other]\nIcon=a\r\n [InputMethod] \r\nIcon=/it's mine/i.svg\n#Icon=c\n"
              "[InputMethod]\n");
    // Missing: added under the header, even when the header ends the file.
    EXPECT_EQ(WithFcitxValue("[Addon]", "Addon", "Library", "/l"), "[Addon]\nLibrary=/l\n");
    // What fcitx5 would read differently, or as more lines, is refused.
    for (const std::string_view value :
         {std::string_view("/a\nType=Other"), std::string_view("/a\r"), std::string_view(" /a"),
          std::string_view("/a "), std::string_view("\"/a\""), std::string_view("/a\0b", 4)}) {
        EXPECT_EQ(WithFcitxValue(kAddon, "Addon", "Library", value), std::nullopt) << value;
    }
    for (const std::string_view text : {std::string_view(""), std::string_view("Library=x\n"),
                                        std::string_view("[Addon/Dependencies]\n[addon]\n[Addon\n"),
                                        std::string_view("[Addon]\nLibrary=\0\n", 18)}) {
        EXPECT_EQ(WithFcitxValue(text, "Addon", "Library", "/l"), std::nullopt) << text;
    }
}

std::string Read(const std::filesystem::path& file) {
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

class FcitxRegistering : public ::testing::Test {
  protected:
    void SetUp() override {
        // No session bus at this address, so no fcitx5: nothing of the machine's is reached.
        setenv("DBUS_SESSION_BUS_ADDRESS",
               ("unix:path=" + (dir.path() / "no-bus").string()).c_str(), 1);
        setenv("XDG_DATA_HOME", (dir.path() / "data").c_str(), 1);
    }

    std::filesystem::path makeBundle(const std::filesystem::path& parent) const {
        const std::filesystem::path contents = parent / "CQInputKV.app" / "Contents";
        std::filesystem::create_directories(contents / "Resources" / "fcitx5");
        std::ofstream(contents / "Info.plist") << "<plist version=\"1.0\"><dict/></plist>\n";
        std::ofstream(contents / "Resources" / "fcitx5" / "addon.conf") << kAddon;
        std::ofstream(contents / "Resources" / "fcitx5" / "inputmethod.conf") << kInputMethod;
        return parent / "CQInputKV.app";
    }

    std::filesystem::path installed(const char* kind) const {
        return dir.path() / "data" / "fcitx5" / kind / "cqinputkv.conf";
    }

    kvtest::TempDir dir;
};

TEST_F(FcitxRegistering, InstallsTheDescriptionsWithTheBundlesPathsOverWhateverSatThere) {
    const std::filesystem::path bundle = makeBundle(dir.path() / "it's mine");
    const std::filesystem::path contents = bundle / "Contents";
    // A link to a file of the user's, and a FIFO no writer will ever open: neither is followed
    // or waited on; both are replaced.
    std::filesystem::create_directories(installed("addon").parent_path());
    std::filesystem::create_directories(installed("inputmethod").parent_path());
    dir.write("precious", "the user's\n");
    std::filesystem::create_symlink(dir.path() / "precious", installed("addon"));
    ASSERT_EQ(::mkfifo(installed("inputmethod").c_str(), 0600), 0);

    FcitxInputSources sources;
    EXPECT_FALSE(sources.running());
    // The descriptions are in place; only telling fcitx5 failed.
    EXPECT_EQ(sources.registerInputSource(bundle), ENOTCONN);
    EXPECT_EQ(Read(dir.path() / "precious"), "the user's\n");
    EXPECT_EQ(Read(installed("addon")),
              *WithFcitxValue(kAddon, "Addon", "Library",
                              (contents / "PlugIns" / "cqinputkv-fcitx5").string()));
    EXPECT_EQ(Read(installed("inputmethod")),
              *WithFcitxValue(kInputMethod, "InputMethod", "Icon",
                              (contents / "Resources" / "cqinputkv.svg").string()));
    EXPECT_TRUE(
        std::filesystem::is_regular_file(std::filesystem::symlink_status(installed("addon"))));
    // Only the two descriptions: no temporary file is left.
    int files = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(dir.path() / "data" / "fcitx5")) {
        files += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, 2);
    // A second run finds them in place and writes nothing.
    const auto written = std::filesystem::last_write_time(installed("addon"));
    EXPECT_EQ(sources.registerInputSource(bundle), ENOTCONN);
    EXPECT_EQ(std::filesystem::last_write_time(installed("addon")), written);
}

TEST_F(FcitxRegistering, RefusesBundlesAndFoldersThatCannotBeUsed) {
    FcitxInputSources sources;
    EXPECT_EQ(sources.registerInputSource(dir.path() / "Missing.app"), ENOENT);

    const std::filesystem::path bare = makeBundle(dir.path() / "a");
    std::filesystem::remove(bare / "Contents" / "Resources" / "fcitx5" / "inputmethod.conf");
    EXPECT_EQ(sources.registerInputSource(bare), ENOENT);

    const std::filesystem::path fifo = makeBundle(dir.path() / "b");
    const std::filesystem::path description = fifo / "Contents/Resources/fcitx5/addon.conf";
    std::filesystem::remove(description);
    ASSERT_EQ(::mkfifo(description.c_str(), 0600), 0);
    EXPECT_EQ(sources.registerInputSource(fifo), EINVAL);

    // A line break in the bundle's path would add lines of its own to the description.
    EXPECT_EQ(sources.registerInputSource(makeBundle(dir.path() / "c\nType=Other")), EINVAL);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "data" / "fcitx5"));

    // A folder where a description goes is not removed.
    std::filesystem::create_directories(installed("addon") / "inside");
    EXPECT_EQ(sources.registerInputSource(makeBundle(dir.path() / "d")), EISDIR);
    EXPECT_TRUE(std::filesystem::exists(installed("addon") / "inside"));
    // A file where a folder goes cannot be made a folder, by root either.
    std::filesystem::remove_all(dir.path() / "data" / "fcitx5");
    dir.write("data/fcitx5", "a file");
    EXPECT_EQ(sources.registerInputSource(makeBundle(dir.path() / "e")), ENOTDIR);
}

}  // namespace
}  // namespace kv
