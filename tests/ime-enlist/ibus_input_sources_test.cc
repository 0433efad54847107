// SPDX-License-Identifier: MIT
// Registering with IBus where no daemon answers: the description the daemon would read, and the
// errors of bundles and folders that cannot be used. The daemon's side is in the desktop tests.
#include <gtest/gtest.h>
#include <ibus.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/linux/ibus_input_sources.h"
#include "tests/support/temp_dir.h"

namespace kv {
namespace {

// A bundle as the build makes it, under `parent`.
std::filesystem::path MakeBundle(const std::filesystem::path& parent, const std::string& xml) {
    const std::filesystem::path contents = parent / "CQInputKV.app" / "Contents";
    std::filesystem::create_directories(contents / "MacOS");
    std::filesystem::create_directories(contents / "Resources");
    auto write = [](const std::filesystem::path& file, const std::string& bytes) {
        ASSERT_TRUE(g_file_set_contents(file.c_str(), bytes.c_str(), -1, nullptr));
    };
    write(contents / "Info.plist",
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
          "<key>CFBundleIdentifier</key><string>org.cqinputkv.inputmethod.CQInputKV</string>"
          "<key>CFBundleExecutable</key><string>CQInputKV</string>"
          "<key>KVIBusComponent</key><string>CQInputKV.xml</string></dict></plist>\n");
    write(contents / "Resources" / "CQInputKV.xml", xml);
    write(contents / "Resources" / "cqinputkv.svg", "<svg/>");
    write(contents / "MacOS" / "CQInputKV", "#!/bin/sh\n");
    return parent / "CQInputKV.app";
}

const std::string kComponent =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- the bundle's own -->\n<component>"
    "<name>org.cqinputkv.inputmethod.CQInputKV</name><exec>CQInputKV --ibus</exec>"
    "<description>Tom &amp; Jerry</description><engines><engine><name>cqinputkv</name>"
    "<icon>cqinputkv.svg</icon><symbol>字</symbol></engine></engines></component>\n";

class IBusRegistering : public ::testing::Test {
  protected:
    void SetUp() override {
        // Nothing of the machine's IBus is reached: no daemon at this address, no system folder.
        setenv("IBUS_ADDRESS", ("unix:path=" + (dir.path() / "no-daemon").string()).c_str(), 1);
        setenv("IBUS_COMPONENT_PATH", (dir.path() / "components").c_str(), 1);
    }

    kvtest::TempDir dir;
};

TEST_F(IBusRegistering, InstallsTheDescriptionWithTheBundlesAbsolutePaths) {
    // The daemon splits <exec> like a shell: a space and a quote in the path must survive it.
    const std::filesystem::path bundle = MakeBundle(dir.path() / "it's mine", kComponent);
    IBusInputSources sources;
    EXPECT_EQ(IBusInputSources::componentFolder(), dir.path() / "components");
    // The description is in place; only telling the daemon failed.
    EXPECT_EQ(sources.registerInputSource(bundle), ENOTCONN);

    const std::filesystem::path installed = dir.path() / "components" / "CQInputKV.xml";
    IBusComponent* component = ibus_component_new_from_file(installed.c_str());
    ASSERT_NE(component, nullptr);
    g_object_ref_sink(component);
    EXPECT_STREQ(ibus_component_get_name(component), "org.cqinputkv.inputmethod.CQInputKV");
    gchar** argv = nullptr;
    ASSERT_TRUE(g_shell_parse_argv(ibus_component_get_exec(component), nullptr, &argv, nullptr));
    EXPECT_EQ(g_strv_length(argv), 2U);
    EXPECT_EQ(argv[0], (bundle / "Contents" / "MacOS" / "CQInputKV").string());
    EXPECT_STREQ(argv[1], "--ibus");
    g_strfreev(argv);
    EXPECT_STREQ(ibus_component_get_description(component), "Tom & Jerry");
    GList* engines = ibus_component_get_engines(component);
    ASSERT_EQ(g_list_length(engines), 1U);
    IBusEngineDesc* engine = IBUS_ENGINE_DESC(engines->data);
    EXPECT_EQ(ibus_engine_desc_get_icon(engine),
              (bundle / "Contents" / "Resources" / "cqinputkv.svg").string());
    EXPECT_STREQ(ibus_engine_desc_get_symbol(engine), "字");
    g_list_free(engines);
    g_object_unref(component);

    // No temporary file is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(dir.path() / "components")) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(IBusRegistering, RefusesBundlesAndFoldersThatCannotBeUsed) {
    IBusInputSources sources;
    EXPECT_EQ(sources.registerInputSource(dir.path() / "Missing.app"), ENOENT);
    EXPECT_EQ(sources.registerInputSource(MakeBundle(dir.path() / "a", "<engines/>")), EINVAL);
    EXPECT_EQ(sources.registerInputSource(MakeBundle(dir.path() / "b", "not xml at all <")),
              EINVAL);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "components"));

    // A folder below a regular file cannot be made, by root either.
    dir.write("plain", "a file");
    setenv("IBUS_COMPONENT_PATH", (dir.path() / "plain" / "components").c_str(), 1);
    EXPECT_EQ(sources.registerInputSource(MakeBundle(dir.path() / "c", kComponent)), ENOTDIR);
}

}  // namespace
}  // namespace kv
