// SPDX-License-Identifier: MIT
// Long random runs of keys, clicks, notifications, focus changes and session ends over several
// sessions: nothing crashes and what the user sees stays consistent.
#include <algorithm>
#include <random>

#include "platform/key_codes.h"

#include "settings/settings_keys.h"
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

// Tokens weighted towards typing, so that compositions, lists and commands happen often; a few
// short scripts open the fixture's lists.
constexpr std::string_view kTokens[] = {
    "e Space",
    "h x Space",
    "w Space",
    "a b Space",
    "c q s",
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
    "osk:c",
    "osk:q",
    "osk:1",
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

bool ShowsListOf(SessionRunner& runner, const KVInputController& controller) {
    const KVCandidateWindow& window = runner.candidateWindow();
    return window.panel().isVisible() && !window.toolbarOnly() &&
           window.delegate().get() == static_cast<const KVCandidateWindowDelegate*>(&controller);
}

// The session a step reaches: the current one for a key, the focused one for an on-screen click.
const KVInputController* Target(SessionRunner& runner, const SessionStep& step) {
    if (step.kind == SessionStepKind::Key) {
        return &runner.controller(runner.currentSession());
    }
    if (step.kind == SessionStepKind::KeyboardClick &&
        runner.keyboardWindow().panel().isVisible()) {
        for (const std::string& id : runner.server().sessionIds()) {
            if (runner.server().controller(id)->hasFocus()) {
                return runner.server().controller(id);
            }
        }
    }
    return nullptr;
}

// A key that reaches the choosing steps: no shortcut, keypad key or width toggle.
bool ReachesTheList(const SessionStep& step) {
    if (step.kind == SessionStepKind::KeyboardClick) {
        return true;
    }
    return step.kind == SessionStepKind::Key && step.token != "Shift+Space" &&
           !step.token.starts_with("KP_") && (step.event.modifierFlags & CommandLikeModifiers) == 0;
}

// What the user sees of a session, and the state behind it.
struct Snapshot {
    struct Seen {
        std::string marked;
        std::size_t insertions = 0;
        bool panelVisible = false;
        bool toolbar = false;
        std::int64_t selected = 0;
        std::int64_t pageStart = 0;
        std::string firstRow;
        bool keyboardVisible = false;
        std::size_t posted = 0;
        bool chinese = false;
        bool operator==(const Seen&) const = default;
    };
    struct Behind {
        std::string code;
        std::vector<std::string> candidates;
        std::string command;
        std::int64_t candidateIndex = 0;
        bool operator==(const Behind&) const = default;
    };
    Seen seen;
    Behind behind;
    bool listShown = false;
};

Snapshot Take(SessionRunner& runner, const std::string& id) {
    const KVInputController& controller = *runner.server().controller(id);
    const KVCandidateWindow& window = runner.candidateWindow();
    return {{runner.client(id).marked(), runner.client(id).insertions.size(),
             window.panel().isVisible(), window.toolbarOnly(), window.selectedIndex(),
             window.pageStart(), window.text(0).text, runner.keyboardWindow().panel().isVisible(),
             runner.keySynth().posted.size(), controller.chineseMode()},
            {controller.engine()->code, controller.engine()->candidates, controller.command(),
             controller.candidateIndex()},
            ShowsListOf(runner, controller)};
}

std::string IdOf(SessionRunner& runner, const KVInputController* controller) {
    for (const std::string& id : runner.server().sessionIds()) {
        if (runner.server().controller(id) == controller) {
            return id;
        }
    }
    return {};
}

// What is on screen is the whole state: the marked text is the command collected or the
// engine's reading, and a list on screen is its delegate's current list.
void ExpectConsistent(SessionRunner& runner, std::size_t step, std::string_view token) {
    const KVCandidateWindow& window = runner.candidateWindow();
    const KVCandidateWindowDelegate* delegate = window.delegate().get();
    bool delegateIsOpen = delegate == nullptr;
    for (const std::string& id : runner.server().sessionIds()) {
        const KVInputController& controller = *runner.server().controller(id);
        delegateIsOpen = delegateIsOpen || delegate == &controller;
        const cqinput::InputEngine& engine = *controller.engine();
        const std::string where = " in session " + id + " at step " + std::to_string(step) + " (" +
                                  std::string(token) + ")";
        ASSERT_TRUE(engine.candidates.empty() || !engine.code.empty()) << "candidates" << where;
        ASSERT_TRUE(controller.command().empty() || engine.code.empty()) << "command" << where;
        ASSERT_EQ(runner.client(id).marked(), controller.composedString()) << "marked" << where;
        ASSERT_LE(controller.command().size(), 5u);
        if (ShowsListOf(runner, controller)) {
            const auto& items = controller.candidateItems();
            ASSERT_FALSE(engine.candidates.empty()) << "list" << where;
            ASSERT_EQ(items.size(), engine.candidates.size()) << "list" << where;
            ASSERT_EQ(window.selectedIndex(), controller.candidateIndex()) << "highlight" << where;
            ASSERT_EQ(window.text(0).text, items.at(static_cast<std::size_t>(window.pageStart())))
                << "page" << where;
        }
    }
    ASSERT_TRUE(delegateIsOpen) << "the window's delegate is no open session at step " << step;
    if (window.panel().isVisible() && !window.toolbarOnly()) {
        const std::vector<std::string> ids = runner.server().sessionIds();
        ASSERT_TRUE(std::any_of(ids.begin(), ids.end(),
                                [&runner](const std::string& id) {
                                    return ShowsListOf(runner, *runner.server().controller(id));
                                }))
            << "a list of no session on screen at step " << step << " (" << token << ")";
    }
}

// A key the controller consumed is never lost unseen: it changes what the user sees, or nothing
// at all. A key for a list that is not on screen only brings the list back.
void ExpectNoKeyLost(const Snapshot& before, const Snapshot& after, const StepReport& report,
                     bool reachesList, std::size_t step, std::string_view token) {
    const std::string where = " at step " + std::to_string(step) + " (" + std::string(token) + ")";
    if (reachesList && before.seen.chinese && !before.behind.candidates.empty() &&
        !before.listShown) {
        ASSERT_TRUE(after.listShown) << "hidden list not shown again" << where;
        ASSERT_TRUE(after.behind == before.behind) << "hidden list acted on" << where;
        ASSERT_EQ(after.seen.insertions, before.seen.insertions) << "chosen unseen" << where;
        return;
    }
    const bool seen = after.seen != before.seen || report.beeps > 0 || !report.windows.empty() ||
                      !report.settings.empty();
    if (report.handled == true && !seen) {
        ASSERT_TRUE(after.behind == before.behind) << "a key went out of sight" << where;
    }
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
        for (const SessionStep& next : *steps) {
            run().openSession(run().currentSession());
            const KVInputController* target = Target(run(), next);
            const std::string id = IdOf(run(), target);
            const Snapshot before = target != nullptr ? Take(run(), id) : Snapshot();
            const StepReport report = run().run(next);
            ExpectConsistent(run(), step, next.token);
            if (target != nullptr && run().server().controller(id) == target) {
                ExpectNoKeyLost(before, Take(run(), id), report, ReachesTheList(next), step,
                                next.token);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ControllerRandomTest, ::testing::Values(1, 7, 42, 2024));

}  // namespace
}  // namespace kv::testing
