// SPDX-License-Identifier: MIT
// Sessions gaining and losing the focus, the process-wide notifications, table reloads, the
// input menu and the windows it opens.
#include <functional>

#include "settings/settings_keys.h"
#include "tests/controller/controller_test_support.h"

namespace kv::testing {
namespace {

class ControllerActivationTest : public ControllerTest {
  protected:
    std::filesystem::path userDictionary() {
        return run().locations().root() / "Application Support" / "CQ_Input_KV" /
               "CQ_Input_KV_User.txt";
    }
};

TEST_F(ControllerActivationTest, DeactivationDropsTheCompositionAndHidesTheWindows) {
    play("c q k e y Space");
    for (const std::string_view composing : {"a b", "e Space Down", "c q s e"}) {
        play(std::string("activate ") + std::string(composing));
        const StepReport report = play("deactivate");
        EXPECT_EQ(report.marked, "") << composing;
        EXPECT_EQ(report.inserted, "") << composing;
        EXPECT_FALSE(report.panel.visible) << composing;
        EXPECT_FALSE(report.keyboardVisible) << composing;
        EXPECT_TRUE(report.keyboardRequested) << composing;
        EXPECT_TRUE(controller().engine()->code.empty()) << composing;
        EXPECT_EQ(controller().command(), "") << composing;
    }
    EXPECT_EQ(inserted(), "");
    // Activation shows the toolbar; the next key brings the keyboard back.
    StepReport report = play("activate");
    EXPECT_TRUE(report.panel.toolbar);
    EXPECT_FALSE(report.keyboardVisible);
    EXPECT_TRUE(play("a").keyboardVisible);
}

TEST_F(ControllerActivationTest, AnotherApplicationHidesBothWindows) {
    play("e Space");
    StepReport report = play("app-switch");
    EXPECT_FALSE(report.panel.visible);
    EXPECT_FALSE(report.keyboardVisible);
    // Not requested: the next key does not bring the keyboard.
    EXPECT_FALSE(play("Escape").keyboardVisible);

    // Requested: any key-down brings it back, also one the application gets.
    play("button:keyboard app-switch");
    report = play("Cmd+c");
    EXPECT_EQ(report.handled, false);
    EXPECT_TRUE(report.keyboardVisible);
    // The panel went back to where it was: the same place on screen.
    const Rect before = run().keyboardWindow().panel().frame();
    play("app-switch b");
    EXPECT_EQ(run().keyboardWindow().panel().frame(), before);
}

TEST_F(ControllerActivationTest, ActivationAndTheMenuReloadAChangedTable) {
    play("a Space");
    std::string changed(kFixtureTable);
    changed.replace(changed.find("a 日\nab"), 5, "a 曰\nab");
    Touch(dir.write("CQInput-KV.cin", changed));
    EXPECT_EQ(play("a Space").inserted, "日");
    EXPECT_EQ(play("deactivate activate a Space").inserted, "曰");

    changed.replace(changed.find("a 曰\nab"), 5, "a 白\nab");
    Touch(dir.write("CQInput-KV.cin", changed));
    const KVMenu menu = controller().menu();
    ASSERT_EQ(menu.items.size(), 3u);
    menu.items[0].action();
    EXPECT_EQ(play("a Space").inserted, "白");
}

TEST_F(ControllerActivationTest, TheMenuOpensTheWindowsOnlyWhileItsSessionLives) {
    play("activate");
    const KVMenu menu = controller().menu();
    ASSERT_EQ(menu.items.size(), 3u);
    std::filesystem::remove(userDictionary());
    menu.items[1].action();
    EXPECT_TRUE(std::filesystem::exists(userDictionary()));
    EXPECT_TRUE(run().wordsWindow().isVisible());
    menu.items[2].action();
    EXPECT_TRUE(run().preferencesWindow().isVisible());

    // The items do nothing once the session is gone.
    run().closeSession("1");
    run().wordsWindow().windowWillClose();
    menu.items[1].action();
    EXPECT_FALSE(run().wordsWindow().isVisible());
}

TEST_F(ControllerActivationTest, ToolbarButtonsOpenTheWindows) {
    play("activate");
    EXPECT_EQ(play("button:settings").windows, (Strings{"settings"}));
    EXPECT_EQ(play("button:words").windows, (Strings{"words"}));
    EXPECT_TRUE(play("button:keyboard").keyboardVisible);
    EXPECT_FALSE(play("button:keyboard").keyboardVisible);
}

TEST_F(ControllerActivationTest, ChangedUserPhrasesArriveWithTheNotification) {
    play("z z Space");
    std::ofstream(userDictionary(), std::ios::app) << "zz 自建\n";
    Touch(userDictionary());
    EXPECT_EQ(play("words-changed z z Space").inserted, "自建");
}

TEST_F(ControllerActivationTest, ARefusedUserDictionaryComesInOnceMended) {
    const std::pair<std::string_view, std::function<void()>> triggers[] = {
        {"words window", [this] { play("words-changed"); }},
        {"activation", [this] { play("deactivate activate"); }},
        {"menu", [this] { controller().menu().items[0].action(); }},
    };
    for (const auto& [name, trigger] : triggers) {
        runner.reset();
        options.user = dir.write("user.txt", "abcdefg 太長\nzz 自建\n");
        EXPECT_EQ(play("z z Space").beeps, 1) << name;
        const Strings refusal{"refused the user dictionary " + userDictionary().string() +
                              ":1: the code \"abcdefg\" is not 1 to 6 bytes long"};
        EXPECT_EQ(run().log().lines, refusal) << name;
        // Still refused: nothing changes, and the log does not repeat itself.
        trigger();
        EXPECT_EQ(play("z z Space").beeps, 1) << name;
        EXPECT_EQ(run().log().lines, refusal) << name;

        std::ofstream(userDictionary(), std::ios::trunc) << "zz 自建\n";
        Touch(userDictionary());
        trigger();
        EXPECT_EQ(play("z z Space").inserted, "自建") << name;
        // From then on its changes arrive as for a dictionary loaded at start.
        std::ofstream(userDictionary(), std::ios::app) << "zy 又一\n";
        Touch(userDictionary());
        trigger();
        EXPECT_EQ(play("z y Space").inserted, "又一") << name;
        EXPECT_EQ(play("session:2 z z Space").inserted, "自建") << name;
        EXPECT_EQ(run().log().lines, refusal) << name;
    }
}

}  // namespace
}  // namespace kv::testing
