// SPDX-License-Identifier: MIT
// Long random runs of keys, clicks, notifications, focus changes and session ends over several
// sessions: nothing crashes and what the user sees stays consistent.
#include <random>

#include "settings/settings_keys.h"
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

// Tokens weighted towards typing, so that compositions, lists and commands happen often.
constexpr std::string_view kTokens[] = {
    "a",
    "b",
    "c",
    "q",
    "s",
    "e",
    "t",
    "h",
    "x",
    "k",
    "y",
    "d",
    "z",
    "1",
    "3",
    "9",
    "0",
    ";",
    ",",
    "a",
    "b",
    "c",
    "q",
    "s",
    "e",
    "t",
    "h",
    "x",
    "w",
    "Space",
    "Space",
    "Return",
    "Delete",
    "Escape",
    "Tab",
    "Left",
    "Right",
    "Up",
    "Down",
    "PageUp",
    "PageDown",
    "KP_1",
    "KP_Enter",
    "Shift+a",
    "Shift+Space",
    "Shift+1",
    "Cmd+c",
    "Ctrl+a",
    "Alt+x",
    "Shift",
    "CapsLock",
    "osk:a",
    "osk:e",
    "osk:3",
    "osk:;",
    "osk:__space__",
    "osk:__backspace__",
    "click:0",
    "click:3",
    "click:9",
    "button:script",
    "button:width",
    "button:keyboard",
    "button:settings",
    "button:words",
    "wait:0.3",
    "wait:1",
    "activate",
    "deactivate",
    "app-switch",
    "settings-saved",
    "words-changed",
    "session:1",
    "session:2",
    "session:3",
};

// Settings that a random step may store before a "settings-saved".
void ChangeASetting(SessionRunner& runner, std::mt19937& random) {
    auto& values = runner.defaults().values;
    switch (random() % 5) {
        case 0:
            values.insert_or_assign(std::string(SettingsKey::LetterSelection), random() % 2 == 0);
            break;
        case 1:
            values.insert_or_assign(std::string(SettingsKey::ToolbarFollowMode),
                                    static_cast<std::int64_t>(random() % 4) - 1);
            break;
        case 2:
            values.insert_or_assign(std::string(SettingsKey::PersistentToolbar), random() % 2 == 0);
            break;
        case 3:
            values.insert_or_assign(std::string(SettingsKey::ToggleKey),
                                    std::string(random() % 2 == 0 ? "Shift" : "CapsLock"));
            break;
        default:
            values.insert_or_assign(std::string(SettingsKey::SimplifiedOutput), random() % 2 == 0);
            break;
    }
}

void ExpectConsistent(SessionRunner& runner, std::size_t step, std::string_view token) {
    const KVCandidateWindowDelegate* delegate = runner.candidateWindow().delegate().get();
    bool delegateIsOpen = delegate == nullptr;
    for (const std::string& id : runner.server().sessionIds()) {
        const KVInputController& controller = *runner.server().controller(id);
        delegateIsOpen = delegateIsOpen || delegate == &controller;
        const cqinput::InputEngine& engine = *controller.engine();
        ASSERT_TRUE(engine.candidates.empty() || !engine.code.empty())
            << "candidates without a code in session " << id << " at step " << step << " (" << token
            << ")";
        if (engine.code.empty() && controller.command().empty()) {
            ASSERT_EQ(runner.client(id).marked(), "")
                << "marked text while idle in session " << id << " at step " << step << " ("
                << token << ")";
        }
        ASSERT_LE(controller.command().size(), 5u);
    }
    ASSERT_TRUE(delegateIsOpen) << "the window's delegate is no open session at step " << step;
}

class ControllerRandomTest : public ControllerTest, public ::testing::WithParamInterface<int> {};

TEST_P(ControllerRandomTest, LongRandomRunsKeepTheirPromises) {
    std::mt19937 random(static_cast<std::mt19937::result_type>(GetParam()));
    std::string bad;
    for (std::size_t step = 0; step < 4000; ++step) {
        const std::string_view token = kTokens[random() % std::size(kTokens)];
        const std::uint32_t dice = random() % 100;
        if (dice < 2) {
            ChangeASetting(run(), random);
        } else if (dice < 3 && run().server().sessionIds().size() > 1) {
            // A session ends; its client goes with it.
            run().closeSession(run().currentSession());
        }
        const std::optional<std::vector<SessionStep>> steps = parseSessionScript(token, bad);
        ASSERT_TRUE(steps.has_value()) << token;
        run().run(steps->front());
        ExpectConsistent(run(), step, token);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ControllerRandomTest, ::testing::Values(1, 7, 42, 2024));

}  // namespace
}  // namespace kv::testing
