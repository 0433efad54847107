// SPDX-License-Identifier: MIT
// The engine's log reaches a file the user can find, stays small, and goes where it is named.
#include "platform/linux/session_log.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "linux_test_support.h"
#include "platform/linux/file_log.h"

namespace kv {
namespace {

using SessionLogTest = test::LinuxTest;

// Standard error as the daemon leaves it to a launched engine, whatever ran the test.
class StandardErrorToNull {
  public:
    StandardErrorToNull() : _saved(::dup(STDERR_FILENO)) {
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
    ~StandardErrorToNull() {
        ::dup2(_saved, STDERR_FILENO);
        ::close(_saved);
    }
    StandardErrorToNull(const StandardErrorToNull&) = delete;
    StandardErrorToNull& operator=(const StandardErrorToNull&) = delete;

  private:
    int _saved;
};

TEST_F(SessionLogTest, WithoutAJournalLinesGoToTheStateFolderOrTheNamedFile) {
    // Standard error that leads somewhere (a terminal, a script's pipe) keeps the lines.
    ::unsetenv("CQINPUTKV_LOG");
    const test::ScopedEnvironment stateHome("XDG_STATE_HOME", (root() / "state").string());
    SessionLog(false)->write("started by hand");
    EXPECT_FALSE(std::filesystem::exists(root() / "state"));

    // An empty name, as a desktop file may leave it, is no name (the enlisting suite reads the
    // default folder's log).
    const StandardErrorToNull launchedByTheDaemon;
    const test::ScopedEnvironment empty("CQINPUTKV_LOG", "");
    SessionLog(false)->write("the IBus daemon went away");
    const std::string stated = read(root() / "state" / "CQ_Input_KV" / "CQInputKV.log");
    EXPECT_TRUE(stated.ends_with(" CQ_Input_KV: the IBus daemon went away\n")) << stated;

    const test::ScopedEnvironment named("CQINPUTKV_LOG", (root() / "named.log").string());
    SessionLog(true)->write("CQ_Input_KV: cannot create IMKServer");
    const std::string line = read(root() / "named.log");
    EXPECT_TRUE(line.ends_with(" CQ_Input_KV: cannot create IMKServer\n")) << line;
    EXPECT_EQ(line.find("CQ_Input_KV: CQ_Input_KV"), std::string::npos);
}

TEST_F(SessionLogTest, TheFileKeepsTheLatestLinesAndOneOlderFileWithinItsLimit) {
    constexpr std::uintmax_t kLimit = 300;
    const std::filesystem::path file = root() / "state" / "log";
    FileLog log(file, kLimit);
    for (int n = 10; n < 60; ++n) {
        log.write("line " + std::to_string(n));
    }
    EXPECT_EQ(list(root() / "state"), (std::vector<std::string>{"log", "log.1"}));
    const std::string current = read(file);
    const std::string older = read(root() / "state" / "log.1");
    EXPECT_LE(current.size(), kLimit);
    EXPECT_LE(older.size(), kLimit);
    EXPECT_TRUE(current.ends_with(" CQ_Input_KV: line 59\n")) << current;
    // Whole lines only, the older file ending where the current one begins.
    EXPECT_TRUE(older.ends_with("\n"));
    EXPECT_EQ(older.find("line 10"), std::string::npos);
    EXPECT_EQ(current.find("line 10"), std::string::npos);
}

}  // namespace
}  // namespace kv
