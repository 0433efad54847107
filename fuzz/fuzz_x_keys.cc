// SPDX-License-Identifier: MIT
// Random key events as IBus and fcitx5 deliver them (key symbol, evdev code, state with releases)
// and focus moves between three contexts, through the engine's key translation into the real
// controllers: no crash, and no marked text left in a context where nothing is composed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "platform/linux/x_key_translation.h"
#include "testing/session_runner.h"

namespace {

constexpr std::size_t kRecordSize = 8;
constexpr std::size_t kMostRecords = 400;

const std::filesystem::path& TablePath() {
    static const std::filesystem::path path = [] {
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() /
            ("kv-fuzz-ibus-keys-" + std::to_string(::getpid()) + ".cin");
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            << "%keyname begin\na 日\nb 月\nc 金\nq 手\n%keyname end\n%chardef begin\na 日\na 曰\n"
               "ab 明\nab 朋\nb 月\nc 金\nc 全\nc 今\nc 合\nc 令\nc 食\nc 倉\nc 傘\nc 企\nc 念\n"
               "c 会\nc 余\n%chardef end\n";
        return file;
    }();
    return path;
}

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::uint32_t Word(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16;
}

void MoveFocus(kv::SessionRunner& runner, std::uint8_t to) {
    kv::SessionStep step;
    step.kind = kv::SessionStepKind::Deactivate;
    runner.run(step);
    step.kind = kv::SessionStepKind::SwitchSession;
    step.session = std::to_string(1 + to % 3);
    runner.run(step);
    step.kind = kv::SessionStepKind::Activate;
    runner.run(step);
}

}  // namespace

// Each record: an operation byte (1 in 16 moves the focus), the evdev code, the state's low
// bits and its release bit, and three bytes of the key's character.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kv::SessionOptions options;
    options.table = TablePath();
    kv::SessionRunner runner(options);
    MoveFocus(runner, 0);
    for (std::size_t i = 0; i + kRecordSize <= size && i / kRecordSize < kMostRecords;
         i += kRecordSize) {
        const std::uint8_t* const record = data + i;
        if (record[0] % 16 == 0) {
            MoveFocus(runner, record[1]);
            continue;
        }
        const std::uint32_t state =
            (record[2] | record[3] << 8) | ((record[4] & 1) != 0 ? kv::XKeyState::Release : 0u);
        const kv::XKeyInput input{record[5], record[1], state, Word(record + 5)};
        if (const std::optional<kv::KeyEvent> event = kv::TranslateXKey(input)) {
            kv::SessionStep step;
            step.kind = kv::SessionStepKind::Key;
            step.event = *event;
            runner.run(step);
        }
        for (const std::string& id : runner.server().sessionIds()) {
            const kv::KVInputController& controller = *runner.server().controller(id);
            if (controller.engine()->code.empty() && controller.command().empty()) {
                Require(runner.client(id).marked().empty(), "marked text with nothing composed");
            }
        }
    }
    return 0;
}
