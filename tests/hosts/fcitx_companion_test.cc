// SPDX-License-Identifier: MIT
// The fcitx5 addon's side of the companion, on fcitx5's own loop and D-Bus binding over a private
// session bus: a request with no companion running starts one and arrives once it owns its name;
// its signals become the controllers' notifications; a companion that died is started again; one
// that never comes is given up on, and typing (the loop) goes on.
#include "hosts/fcitx5/fcitx_companion.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "keyboard/keyboard_window.h"
#include "platform/memory/memory_services.h"
#include "platform/services.h"
#include "tests/support/temp_dir.h"

namespace kv {
namespace {

std::filesystem::path StandIn() {
    return std::filesystem::path(KV_SOURCE_DIR) / "tests/hosts/companion_stand_in.py";
}

// A dbus-daemon of the test's own, named by DBUS_SESSION_BUS_ADDRESS while it lives, so the
// companions the addon starts join it too.
class PrivateBus {
  public:
    PrivateBus() {
        const std::string socket = (_folder.path() / "bus").string();
        _address = "unix:path=" + socket;
        std::string program = "dbus-daemon";
        std::string session = "--session";
        std::string noFork = "--nofork";
        std::string address = "--address=" + _address;
        const std::array<char*, 5> argv{program.data(), session.data(), noFork.data(),
                                        address.data(), nullptr};
        _daemon = fork();
        if (_daemon == 0) {
            execvp(argv[0], argv.data());
            _exit(127);
        }
        for (int tries = 0; tries < 500 && !std::filesystem::exists(socket); ++tries) {
            usleep(10000);
        }
        setenv("DBUS_SESSION_BUS_ADDRESS", _address.c_str(), 1);
    }
    ~PrivateBus() {
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        kill(_daemon, SIGTERM);
        waitpid(_daemon, nullptr, 0);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;
    const std::string& address() const { return _address; }

  private:
    kvtest::TempDir _folder;
    std::string _address;
    pid_t _daemon = -1;
};

// One step of a script: an action, then the key token it should bring back ("" for none).
struct Step {
    std::function<void()> act;
    std::string expected;
};

// fcitx5's loop runs once per test (it cannot run again after it exits), so the steps run inside
// it: each acts, then waits for a token, or for a quiet second when it expects none.
class FcitxCompanionTest : public ::testing::Test {
  protected:
    FcitxCompanionTest() : _bus(_private.address()) { _bus.attachEventLoop(&_loop); }
    ~FcitxCompanionTest() override {
        defaultCenter().removeObserver(this);
        _bus.detachEventLoop();
    }

    // The tokens that came, one per step; bounded as a whole.
    std::vector<std::string> run(std::vector<Step> steps) {
        _steps = std::move(steps);
        defaultCenter().addObserver(this, KVKeyboardKeyPressedNotification,
                                    [this](const Notification& note) { arrived(note.object); });
        _timers.push_back(after(std::chrono::seconds(60), [this] { _loop.exit(); }));
        _timers.push_back(after(std::chrono::seconds(0), [this] { next(); }));
        _loop.exec();
        return _tokens;
    }

    MemoryServices _services;
    PrivateBus _private;
    fcitx::EventLoop _loop;
    fcitx::dbus::Bus _bus;

  private:
    std::unique_ptr<fcitx::EventSourceTime> after(std::chrono::milliseconds delay,
                                                  const std::function<void()>& then) {
        const auto usec = std::chrono::duration_cast<std::chrono::microseconds>(delay).count();
        return _loop.addTimeEvent(CLOCK_MONOTONIC, fcitx::now(CLOCK_MONOTONIC) + usec, 0,
                                  [then](fcitx::EventSourceTime*, std::uint64_t) {
                                      then();
                                      return true;
                                  });
    }
    void next() {
        if (_step == _steps.size()) {
            _loop.exit();
            return;
        }
        const Step& step = _steps[_step++];
        step.act();
        if (step.expected.empty()) {
            const std::size_t quietStep = _step;
            _timers.push_back(after(std::chrono::seconds(1), [this, quietStep] {
                if (_step == quietStep) {
                    arrived("");
                }
            }));
        }
    }
    void arrived(const std::string& token) {
        _tokens.push_back(token);
        _timers.push_back(after(std::chrono::milliseconds(0), [this] { next(); }));
    }

    std::vector<Step> _steps;
    std::size_t _step = 0;
    std::vector<std::string> _tokens;
    std::vector<std::unique_ptr<fcitx::EventSourceTime>> _timers;
};

TEST_F(FcitxCompanionTest, StartsTheCompanionOnDemandAndAgainAfterItDied) {
    FcitxCompanion companion(_bus, _loop, StandIn());
    const KVWindowBodies bodies = companion.windowBodies();
    KVPreferencesWindow settings({bodies.preferences, {}});
    KVWordsWindow words({bodies.words, {}});
    Panel keyboard(Size{720, 350});
    keyboard.attachBody(companion.keyboardBody(keyboard));

    const std::vector<std::string> tokens = run({
        // No companion runs: the settings window's show starts one and reaches it.
        {[&] { settings.showWindow(); }, "ShowSettings"},
        {[&] { words.showWindow(); }, "ShowWords"},
        // The keyboard's panel: only its coming and going go out, not repaints and moves.
        {[&] { keyboard.orderFront(); }, "ShowKeyboard"},
        {[&] {
             keyboard.setNeedsDisplay();
             keyboard.setFrameOrigin({10, 10});
         },
         ""},
        // The stand-in ends after answering HideKeyboard, as a companion that died.
        {[&] { keyboard.orderOut(); }, "HideKeyboard"},
        {[] {}, ""},
        // The next request starts it again.
        {[&] { settings.showWindow(); }, "ShowSettings"},
    });
    EXPECT_EQ(tokens, (std::vector<std::string>{"ShowSettings", "ShowWords", "ShowKeyboard", "",
                                                "HideKeyboard", "", "ShowSettings"}));
}

TEST_F(FcitxCompanionTest, SignalsOfAnotherSenderAreNotTheCompanions) {
    FcitxCompanion companion(_bus, _loop, StandIn());
    const std::vector<std::string> tokens = run({
        {[&] { companion.request("ShowWords"); }, "ShowWords"},
        // The same path and interface from this connection, not the companion's.
        {[&] {
             fcitx::dbus::Message forged = _bus.createSignal(
                 "/org/cqinputkv/Companion", "org.cqinputkv.Companion1", "KeyPressed");
             forged << std::string("q");
             forged.send();
         },
         ""},
    });
    EXPECT_EQ(tokens, (std::vector<std::string>{"ShowWords", ""}));
}

TEST_F(FcitxCompanionTest, ACompanionThatNeverComesIsGivenUpAndTheLoopGoesOn) {
    FcitxCompanion companion(_bus, _loop, "/nonexistent/CQInputKV", std::chrono::milliseconds(300));
    // Each request tries again and gives up again, with a line in the log.
    const std::vector<std::string> tokens = run({
        {[&] { companion.request("ShowSettings"); }, ""},
        {[&] { companion.request("ShowWords"); }, ""},
    });
    EXPECT_EQ(tokens, (std::vector<std::string>{"", ""}));
    ASSERT_EQ(_services.log().lines.size(), 2U);
    EXPECT_NE(_services.log().lines.back().find("did not start"), std::string::npos);
}

}  // namespace
}  // namespace kv
