// SPDX-License-Identifier: MIT
// Opening a file starts the application the user set for its type: here a small script
// registered in a private data directory, which writes down the file it was given.
#include "platform/linux/gio_workspace.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "linux_test_support.h"

namespace kv {
namespace {

class GioWorkspaceTest : public test::LinuxTest {
  protected:
    test::ScopedEnvironment _dataDirs{"XDG_DATA_DIRS", (root() / "system").string()};
    test::ScopedEnvironment _configDirs{"XDG_CONFIG_DIRS", (root() / "system").string()};
};

TEST_F(GioWorkspaceTest, OpensAFileWithTheDefaultApplicationForItsType) {
    const std::filesystem::path marker = root() / "opened";
    const std::filesystem::path script = root() / "editor.sh";
    write(script, "#!/bin/sh\nprintf '%s' \"$1\" > \"" + marker.string() + ".tmp\" && mv \"" +
                      marker.string() + ".tmp\" \"" + marker.string() + "\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    write(root() / "data/applications/kv-editor.desktop",
          "[Desktop Entry]\nType=Application\nName=Editor\nExec=" + script.string() +
              " %f\nMimeType=text/plain;application/octet-stream;\n");
    write(root() / "config/mimeapps.list",
          "[Default Applications]\ntext/plain=kv-editor.desktop\n"
          "application/octet-stream=kv-editor.desktop\n");
    const std::filesystem::path file = root() / "CQ_Input_KV_User.txt";
    write(file, "abc 測試\n");

    ASSERT_TRUE(GioWorkspace().openFile(file));
    // The editor runs in its own process; wait for it to have written its note.
    for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(read(marker), file.string());
}

TEST_F(GioWorkspaceTest, WithoutAnyApplicationNothingOpens) {
    const std::filesystem::path file = root() / "words.txt";
    write(file, "abc\n");
    EXPECT_FALSE(GioWorkspace().openFile(file));
}

}  // namespace
}  // namespace kv
