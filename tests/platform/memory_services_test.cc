// SPDX-License-Identifier: MIT
// The memory bodies reach every accessor while a test runs, and leave nothing behind.
#include "platform/memory/memory_services.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

TEST(MemoryServices, BundleResourcesAreFoundOnlyWhenTheFileExists) {
    MemoryServices services;
    const std::filesystem::path table = services.locations().root() / "table.cin";
    services.bundle().resources["CQInput-KV.cin"] = table;
    services.bundle().info["CFBundleIdentifier"] = "org.example.inputmethod.CQInputKV";
    EXPECT_FALSE(mainBundle().pathForResource("CQInput-KV", "cin"));
    std::ofstream(table) << "%gen_inp\n";
    EXPECT_EQ(mainBundle().pathForResource("CQInput-KV", "cin"), table);
    EXPECT_FALSE(mainBundle().pathForResource("CQInput-KV", "txt"));
    EXPECT_EQ(mainBundle().bundleIdentifier(), "org.example.inputmethod.CQInputKV");
    EXPECT_FALSE(mainBundle().objectForInfoDictionaryKey("InputMethodConnectionName"));
}

TEST(MemoryServices, FakeInputSourcesEnableAndSelectAsArranged) {
    MemoryServices services;
    FakeInputSources& fake = services.inputSources();
    InputSource selectable;
    selectable.reference = 1;
    selectable.inputSourceID = "kv.source";
    selectable.isSelectCapable = true;
    fake.entries.push_back({selectable, false, 0, 0});
    InputSource broken;
    broken.reference = 2;
    fake.entries.push_back({broken, false, -25, 0});

    EXPECT_TRUE(inputSources().createInputSourceList(false).empty());
    ASSERT_EQ(inputSources().createInputSourceList(true).size(), 2u);
    EXPECT_EQ(inputSources().enableInputSource(selectable), 0);
    EXPECT_EQ(inputSources().enableInputSource(broken), -25);
    EXPECT_EQ(inputSources().createInputSourceList(false), std::vector<InputSource>{selectable});
    EXPECT_EQ(inputSources().selectInputSource(selectable), 0);
    EXPECT_EQ(inputSources().copyCurrentKeyboardInputSource(), selectable);
    EXPECT_EQ(fake.enableCalls, (std::vector<std::uint64_t>{1, 2}));
}

}  // namespace
}  // namespace kv
