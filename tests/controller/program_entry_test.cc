// SPDX-License-Identifier: MIT
// The program's entry: the server under the bundle's connection name, or the one log line and
// status 1.
#include <gtest/gtest.h>

#include <sstream>

#include "controller/program_entry.h"
#include "platform/memory/memory_services.h"
#include "tests/controller/memory_input_method_kit.h"

namespace kv::testing {
namespace {

class ProgramEntryTest : public ::testing::Test {
  protected:
    ProgramEntryTest() {
        services.bundle().info["CFBundleIdentifier"] = "org.example.inputmethod.CQInputKV";
    }

    MemoryServices services;
    MemoryInputMethodKit kit;
    std::ostringstream log;
};

TEST_F(ProgramEntryTest, StartsTheServerUnderTheConnectionNameAndRunsTheLoop) {
    services.bundle().info["InputMethodConnectionName"] = "CQInputKV_Connection";
    EXPECT_EQ(KVMain(kit, {}, log), 0);
    ASSERT_EQ(kit.requests.size(), 1u);
    EXPECT_EQ(kit.requests[0].name, "CQInputKV_Connection");
    EXPECT_EQ(kit.requests[0].bundleIdentifier, "org.example.inputmethod.CQInputKV");
    EXPECT_EQ(kit.loops, 1);
    EXPECT_EQ(log.str(), "");
}

TEST_F(ProgramEntryTest, NoServerMeansOneLogLineAndStatusOne) {
    services.bundle().info["InputMethodConnectionName"] = "CQInputKV_Connection";
    kit.refuses = true;
    EXPECT_EQ(KVMain(kit, {}, log), 1);
    EXPECT_EQ(log.str(), "CQ_Input_KV: cannot create IMKServer\n");
    EXPECT_EQ(kit.loops, 0);

    // Without a connection name no server is asked for at all.
    MemoryInputMethodKit unnamed;
    std::ostringstream unnamedLog;
    services.bundle().info.erase("InputMethodConnectionName");
    EXPECT_EQ(KVMain(unnamed, {}, unnamedLog), 1);
    EXPECT_TRUE(unnamed.requests.empty());
    EXPECT_EQ(unnamedLog.str(), "CQ_Input_KV: cannot create IMKServer\n");
    EXPECT_EQ(unnamed.loops, 0);
}

}  // namespace
}  // namespace kv::testing
