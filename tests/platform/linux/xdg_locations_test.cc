// SPDX-License-Identifier: MIT
// The XDG directories come from the environment, with the usual fallbacks under the home.
#include "platform/linux/xdg_locations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "linux_test_support.h"

namespace kv {
namespace {

using XdgLocationsTest = test::LinuxTest;

TEST_F(XdgLocationsTest, ApplicationSupportIsTheDataHomeCreatedWhenMissing) {
    const mode_t old = ::umask(022);
    const std::optional<std::filesystem::path> support =
        XdgLocations().applicationSupportDirectory();
    ::umask(old);
    EXPECT_EQ(support, root() / "data");
    EXPECT_TRUE(std::filesystem::is_directory(root() / "data"));
    // Made by the program, it is the user's alone whatever the umask.
    EXPECT_EQ(std::filesystem::status(root() / "data").permissions(),
              std::filesystem::perms::owner_all);
    EXPECT_EQ(XdgConfigHome(), root() / "config");
}

TEST_F(XdgLocationsTest, UnsetOrRelativeValuesFallBackToTheHome) {
    const test::ScopedEnvironment relative("XDG_DATA_HOME", "relative/data");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(XdgDataHome(), root() / "home" / ".local/share");
    EXPECT_EQ(XdgConfigHome(), root() / "home" / ".config");
    EXPECT_EQ(XdgLocations().applicationSupportDirectory(), root() / "home" / ".local/share");
}

TEST_F(XdgLocationsTest, ADataHomeThatCannotBeMadeGivesNothing) {
    write(root() / "file", "not a directory");
    const test::ScopedEnvironment blocked("XDG_DATA_HOME", (root() / "file" / "data").string());
    EXPECT_FALSE(XdgLocations().applicationSupportDirectory());
}

}  // namespace
}  // namespace kv
