// SPDX-License-Identifier: MIT
// The controller suites' fixture: a small table in a directory of the test's own, and the
// session runner of `cqkv session` on it, driven with the same scenario notation.
#pragma once

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "controller/input_controller.h"
#include "controller/shared_table.h"
#include "platform/memory/recording_panel.h"
#include "testing/session_runner.h"
#include "testing/session_script.h"

namespace kv::testing {

using Strings = std::vector<std::string>;

// Keys a to z labelled with roots; "a" has one candidate, "ab" two, "w" ten, "hx" twelve (all
// with Simplified forms), "e" twenty-three; "bt" is 體 alone.
inline constexpr std::string_view kFixtureTable = R"(%ename fixture
%selkey 1234567890
%keyname begin
a 日
b 月
c 金
d 木
e 水
f 火
g 土
h 竹
i 戈
j 十
k 大
l 中
m 一
n 弓
o 人
p 心
q 手
r 口
s 尸
t 廿
u 山
v 女
w 田
x 難
y 卜
z 重
%keyname end
%chardef begin
a 日
ab 明
ab 朋
bt 體
hx 體
hx 國
hx 門
hx 學
hx 這
hx 個
hx 們
hx 會
hx 來
hx 時
hx 說
hx 電
e 一
e 二
e 三
e 四
e 五
e 六
e 七
e 八
e 九
e 十
e 百
e 千
e 萬
e 甲
e 乙
e 丙
e 丁
e 戊
e 己
e 庚
e 辛
e 壬
e 癸
w 田
w 由
w 甲
w 申
w 男
w 畫
w 里
w 果
w 雷
w 富
cqsex 試
%chardef end
)";

// A directory of the test's own, removed with everything in it at the end.
using ::kvtest::TempDir;

// Moves the last-write time on, so that a change check sees a changed file at once.
inline void Touch(const std::filesystem::path& file) {
    std::filesystem::last_write_time(
        file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
}

class ControllerTest : public ::testing::Test {
  protected:
    ControllerTest() { options.table = dir.write("CQInput-KV.cin", kFixtureTable); }
    ~ControllerTest() override { runner.reset(); }

    // Stores a setting; before the first step it is there when the first session starts.
    void set(std::string_view key, DefaultsValue value) {
        if (runner) {
            runner->defaults().values.insert_or_assign(std::string(key), std::move(value));
        } else {
            options.settings.emplace_back(std::string(key), std::move(value));
        }
    }

    SessionRunner& run() {
        if (!runner) {
            runner = std::make_unique<SessionRunner>(options);
        }
        return *runner;
    }

    // Runs the tokens of `script` and returns what the last one did.
    StepReport play(std::string_view script) {
        std::string bad;
        const std::optional<std::vector<SessionStep>> steps = parseSessionScript(script, bad);
        EXPECT_TRUE(steps.has_value()) << "unknown token " << bad;
        StepReport last;
        if (steps) {
            for (const SessionStep& step : *steps) {
                last = run().run(step);
            }
        }
        return last;
    }

    // The reports of every token of `script`.
    std::vector<StepReport> playAll(std::string_view script) {
        std::string bad;
        const std::optional<std::vector<SessionStep>> steps = parseSessionScript(script, bad);
        EXPECT_TRUE(steps.has_value()) << "unknown token " << bad;
        std::vector<StepReport> reports;
        for (const SessionStep& step : steps.value_or(std::vector<SessionStep>())) {
            reports.push_back(run().run(step));
        }
        return reports;
    }

    // Everything inserted into the current session's client so far, joined.
    std::string inserted() { return client().inserted(); }

    KVInputController& controller() { return run().controller(run().currentSession()); }
    RecordingTextClient& client() { return run().client(run().currentSession()); }
    KVCandidateWindow& window() { return run().candidateWindow(); }
    std::string stored(std::string_view key) {
        const auto found = run().defaults().values.find(key);
        if (found == run().defaults().values.end()) {
            return "absent";
        }
        if (const bool* flag = std::get_if<bool>(&found->second)) {
            return *flag ? "YES" : "NO";
        }
        if (const std::int64_t* number = std::get_if<std::int64_t>(&found->second)) {
            return std::to_string(*number);
        }
        return "other";
    }
    // How often the candidate window's panel changed on screen.
    int panelChanges() {
        const auto* body = dynamic_cast<const RecordingPanelBody*>(window().panel().body());
        return body != nullptr ? body->changes : -1;
    }

    TempDir dir;
    SessionOptions options;
    std::unique_ptr<SessionRunner> runner;
};

inline constexpr std::string_view kFullwidthSpace = "\u3000";

}  // namespace kv::testing
