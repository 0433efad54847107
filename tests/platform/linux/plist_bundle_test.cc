// SPDX-License-Identifier: MIT
// The bundle on disk: the information dictionary from Info.plist (XML or binary) and the
// resources beside it.
#include "platform/linux/plist_bundle.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "linux_test_support.h"
#include "platform/linux/info_plist.h"

namespace kv {
namespace {

constexpr const char* kInfo = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
    <key>CFBundleIdentifier</key>
    <string>org.example.inputmethod.CQInputKV</string>
    <key>InputMethodConnectionName</key>
    <string>CQInputKV_Connection</string>
    <key>CFBundleName</key>
    <string>澄雀KV</string>
    <key>LSBackgroundOnly</key>
    <true/>
    <key>Nested</key>
    <dict><key>Inner</key><string>x</string></dict>
</dict>
</plist>
)";

using PlistBundleTest = test::LinuxTest;

TEST_F(PlistBundleTest, ReadsInfoKeysAndIdentifier) {
    write(root() / "CQInputKV.app/Contents/Info.plist", kInfo);
    const PlistBundle bundle(root() / "CQInputKV.app");
    EXPECT_EQ(bundle.bundleIdentifier(), "org.example.inputmethod.CQInputKV");
    EXPECT_EQ(bundle.objectForInfoDictionaryKey("InputMethodConnectionName"),
              "CQInputKV_Connection");
    EXPECT_EQ(bundle.objectForInfoDictionaryKey("CFBundleName"), "澄雀KV");
    EXPECT_FALSE(bundle.objectForInfoDictionaryKey("LSBackgroundOnly"));  // not a string
    EXPECT_FALSE(bundle.objectForInfoDictionaryKey("Inner"));
    EXPECT_FALSE(bundle.objectForInfoDictionaryKey("Missing"));
}

TEST_F(PlistBundleTest, ReadsABinaryPropertyList) {
    write(root() / "Binary.app/Contents/Info.plist",
          read(std::filesystem::path(KV_TEST_DATA) / "Info.binary.plist"));
    const PlistBundle bundle(root() / "Binary.app");
    EXPECT_EQ(bundle.bundleIdentifier(), "org.example.inputmethod.CQInputKV");
    EXPECT_EQ(bundle.objectForInfoDictionaryKey("CFBundleName"), "澄雀KV");
    EXPECT_FALSE(bundle.objectForInfoDictionaryKey(std::string_view("CFBundleName\0x", 14)));
}

TEST_F(PlistBundleTest, BadOrMissingMetadataReadsEmpty) {
    for (const std::string bad :
         {"", "not a plist", "<plist><array><string>x</string></array></plist>",
          "<?xml version=\"1.0\"?><plist><dict><key>A</key>", "bplist00\xFF\xFF"}) {
        EXPECT_FALSE(InfoPlist::parse(bad)) << bad;
    }
    const PlistBundle missing(root() / "Nothing.app");
    EXPECT_FALSE(missing.bundleIdentifier());
    write(root() / "Bad.app/Contents/Info.plist", "<plist><dict><key>");
    EXPECT_FALSE(PlistBundle(root() / "Bad.app").bundleIdentifier());
}

TEST_F(PlistBundleTest, FindsResourcesByNameAndTypeOnlyInsideTheBundle) {
    const std::filesystem::path app = root() / "CQInputKV.app";
    write(app / "Contents/Resources/CQInput-KV.cin", "%gen_inp\n");
    write(app / "Contents/Resources/README", "plain");
    write(app / "Contents/secret.cin", "outside");
    std::filesystem::create_directories(app / "Contents/Resources/folder.cin");
    const PlistBundle bundle(app);
    EXPECT_EQ(bundle.pathForResource("CQInput-KV", "cin"),
              app / "Contents/Resources/CQInput-KV.cin");
    EXPECT_EQ(bundle.pathForResource("README", ""), app / "Contents/Resources/README");
    EXPECT_FALSE(bundle.pathForResource("CQInput-KV", "txt"));
    EXPECT_FALSE(bundle.pathForResource("../secret", "cin"));
    EXPECT_FALSE(bundle.pathForResource("folder", "cin"));
    EXPECT_FALSE(bundle.pathForResource("", ""));
}

TEST_F(PlistBundleTest, TheTestProgramIsInNoBundle) {
    EXPECT_FALSE(PlistBundle::rootOfExecutable());
}

}  // namespace
}  // namespace kv
