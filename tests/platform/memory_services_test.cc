// SPDX-License-Identifier: MIT
// Installed services reach every accessor while a test runs, and the previous ones come back.
#include "platform/memory/memory_services.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

TEST(MemoryServices, InstallsEveryBodyAndPutsThePreviousOnesBack) {
    std::filesystem::path support;
    {
        MemoryServices outer;
        {
            MemoryServices services;
            EXPECT_EQ(&standardUserDefaults(), &services.defaults());
            EXPECT_EQ(&mainQueue(), &services.clock());
            EXPECT_EQ(&transforms(), &services.transforms());
            EXPECT_EQ(&sharedWorkspace(), &services.workspace());
            EXPECT_EQ(&mainBundle(), &services.bundle());
            EXPECT_EQ(&locations(), &services.locations());
            EXPECT_EQ(&keySynth(), &services.keySynth());
            EXPECT_EQ(&inputSources(), &services.inputSources());

            int owner = 0;
            defaultCenter().addObserver(&owner, "X", [](const Notification&) { FAIL(); });
            workspaceCenter().addObserver(&owner, "Y", [](const Notification&) { FAIL(); });
            support = *locations().applicationSupportDirectory();
            EXPECT_TRUE(std::filesystem::is_directory(support));
        }
        EXPECT_EQ(&standardUserDefaults(), &outer.defaults());
        EXPECT_EQ(&locations(), &outer.locations());
        EXPECT_NE(outer.locations().root(), support.parent_path());
        defaultCenter().postNotificationName("X");
        workspaceCenter().postNotificationName("Y");
    }
    EXPECT_FALSE(std::filesystem::exists(support));
}

}  // namespace
}  // namespace kv
