// SPDX-License-Identifier: MIT
// Feeds bytes to the session notation of `cqkv session` and replays what parses on the real
// controller: no crash, no candidates without a code, the marked text always the command collected
// or the engine's reading, and the candidate window's delegate always an open session.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "testing/session_runner.h"
#include "testing/session_script.h"

namespace {

constexpr std::size_t kMostSteps = 300;

constexpr std::string_view kTable =
    "%keyname begin\na 日\nb 月\nc 金\ne 水\nq 手\ns 尸\nt 廿\n%keyname end\n"
    "%chardef begin\na 日\nab 明\nab 朋\nbt 體\ne 一\ne 二\ne 三\ne 四\ne 五\ne 六\ne 七\n"
    "e 八\ne 九\ne 十\ne 百\ne 千\n%chardef end\n";

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The table, written once per process beside the other temporary files.
const std::filesystem::path& TablePath() {
    static const std::filesystem::path path = [] {
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() /
            ("kv-fuzz-session-" + std::to_string(::getpid()) + ".cin");
        std::ofstream(file, std::ios::binary | std::ios::trunc) << kTable;
        return file;
    }();
    return path;
}

void CheckConsistent(kv::SessionRunner& runner) {
    const kv::KVCandidateWindowDelegate* delegate = runner.candidateWindow().delegate().get();
    bool delegateIsOpen = delegate == nullptr;
    for (const std::string& id : runner.server().sessionIds()) {
        const kv::KVInputController& controller = *runner.server().controller(id);
        delegateIsOpen = delegateIsOpen || delegate == &controller;
        const cqinput::InputEngine* engine = controller.engine();
        Require(engine != nullptr, "a session without its engine");
        Require(engine->candidates.empty() || !engine->code.empty(), "candidates without a code");
        Require(runner.client(id).marked() == controller.composedString(),
                "marked text other than the command collected or the engine's reading");
    }
    Require(delegateIsOpen, "the window's delegate is no open session");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    std::string bad;
    const std::optional<std::vector<kv::SessionStep>> steps = kv::parseSessionScript(script, bad);
    if (!steps) {
        Require(!bad.empty(), "a refused script names no token");
        return 0;
    }
    kv::SessionOptions options;
    options.table = TablePath();
    kv::SessionRunner runner(options);
    for (std::size_t i = 0; i < steps->size() && i < kMostSteps; ++i) {
        // Long waits only run the due steps; keep the clock within reason.
        if ((*steps)[i].kind == kv::SessionStepKind::Wait && (*steps)[i].seconds > 1e6) {
            continue;
        }
        runner.run((*steps)[i]);
        CheckConsistent(runner);
    }
    return 0;
}
