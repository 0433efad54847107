// SPDX-License-Identifier: MIT
#include "hosts/fcitx5/fcitx_companion.h"

#include <fcitx-utils/dbus/matchrule.h>
#include <fcitx-utils/dbus/message.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>
#include <utility>

#include "controller/companion_interface.h"
#include "keyboard/keyboard_window.h"
#include "platform/services.h"
#include "settings/settings_keys.h"

namespace kv {

struct FcitxCompanion::Link {
    FcitxCompanion* companion = nullptr;  // none once the addon's side is gone
    void request(std::string_view method) const {
        if (companion != nullptr) {
            companion->request(method);
        }
    }
};

namespace {

class SettingsBody final : public PreferencesWindowBody {
  public:
    explicit SettingsBody(std::function<void()> show) : _show(std::move(show)) {}
    void windowDidChange(const KVPreferencesWindow&) override {}
    void orderFront() override { _show(); }
    void orderOut() override {}

  private:
    std::function<void()> _show;
};

class WordsBody final : public WordsWindowBody {
  public:
    explicit WordsBody(std::function<void()> show) : _show(std::move(show)) {}
    void windowDidChange(const KVWordsWindow&) override {}
    void orderFront() override { _show(); }
    void orderOut() override {}
    void focusCodeField() override {}

  private:
    std::function<void()> _show;
};

class KeyboardBody final : public PanelBody {
  public:
    explicit KeyboardBody(std::function<void(bool)> show) : _show(std::move(show)) {}
    // The panel changes for every repaint and move; only its coming and going is the companion's.
    void panelDidChange(const Panel& panel) override {
        if (panel.isVisible() != _shown) {
            _shown = panel.isVisible();
            _show(_shown);
        }
    }

  private:
    std::function<void(bool)> _show;
    bool _shown = false;
};

// Starts `executable --companion` detached from fcitx5: in a session of its own, its standard
// streams on /dev/null (its log then goes where the program's log goes), no descriptor of fcitx5
// left open, fcitx5's signal mask undone; the intermediate child is reaped at once, so fcitx5 is
// left no zombie. False when it could not fork.
bool SpawnDetached(const std::filesystem::path& executable) {
    // Built before the fork: between fork and exec only async-signal-safe calls are allowed.
    std::string program = executable.string();
    std::string argument(companion::kArgument);
    const std::array<char*, 3> argv{program.data(), argument.data(), nullptr};
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        setsid();
        if (fork() != 0) {
            _exit(0);
        }
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        close_range(STDERR_FILENO + 1, ~0U, 0);
        // fcitx5's blocked and ignored signals would survive the exec; the companion ends on
        // SIGTERM and must hear it.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        for (const int number : {SIGTERM, SIGINT, SIGHUP, SIGPIPE, SIGCHLD}) {
            signal(number, SIG_DFL);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

}  // namespace

FcitxCompanion::FcitxCompanion(fcitx::dbus::Bus& bus, fcitx::EventLoop& loop,
                               std::filesystem::path executable,
                               std::chrono::milliseconds startWithin)
    : _bus(bus),
      _loop(loop),
      _executable(std::move(executable)),
      _startWithin(startWithin),
      _link(std::make_shared<Link>()),
      _watcher(bus) {
    _link->companion = this;
    _watch = _watcher.watchService(std::string(companion::kBusName),
                                   [this](const std::string&, const std::string&,
                                          const std::string& owner) { ownerChanged(owner); });
    // Every sender on the path and interface; only the watched owner's signals are taken.
    _signals = _bus.addMatch(fcitx::dbus::MatchRule("", std::string(companion::kObjectPath),
                                                    std::string(companion::kInterface)),
                             [this](fcitx::dbus::Message& message) { return signalled(message); });
}

FcitxCompanion::~FcitxCompanion() {
    _link->companion = nullptr;
}

KVWindowBodies FcitxCompanion::windowBodies() {
    const std::shared_ptr<Link> link = _link;
    return {
        [link](KVPreferencesWindow&) -> std::unique_ptr<PreferencesWindowBody> {
            return std::make_unique<SettingsBody>(
                [link] { link->request(companion::kShowSettings); });
        },
        [link](KVWordsWindow&) -> std::unique_ptr<WordsWindowBody> {
            return std::make_unique<WordsBody>([link] { link->request(companion::kShowWords); });
        },
    };
}

std::unique_ptr<PanelBody> FcitxCompanion::keyboardBody(Panel&) {
    const std::shared_ptr<Link> link = _link;
    return std::make_unique<KeyboardBody>([link](bool shown) {
        link->request(shown ? companion::kShowKeyboard : companion::kHideKeyboard);
    });
}

void FcitxCompanion::request(std::string_view method) {
    const std::string name(method);
    if (!_owner.empty()) {
        send(name);
        return;
    }
    // Only the last of the keyboard's show and hide counts; the windows' shows once each.
    const auto keyboard = [](const std::string& m) {
        return m == companion::kShowKeyboard || m == companion::kHideKeyboard;
    };
    std::erase_if(_pending, [&](const std::string& queued) {
        return queued == name || (keyboard(name) && keyboard(queued));
    });
    _pending.push_back(name);
    start();
}

void FcitxCompanion::start() {
    if (_starting) {
        return;
    }
    if (!SpawnDetached(_executable)) {
        systemLog().write("cannot start the companion " + _executable.string());
        _pending.clear();
        return;
    }
    _starting = true;
    const auto within = std::chrono::duration_cast<std::chrono::microseconds>(_startWithin);
    _startDeadline = _loop.addTimeEvent(
        CLOCK_MONOTONIC, fcitx::now(CLOCK_MONOTONIC) + static_cast<std::uint64_t>(within.count()),
        0, [this](fcitx::EventSourceTime*, std::uint64_t) {
            giveUp();
            return true;
        });
}

void FcitxCompanion::giveUp() {
    if (!_starting) {
        return;
    }
    systemLog().write("the companion " + _executable.string() + " did not start within " +
                      std::to_string(_startWithin.count()) + " ms; its windows stay closed");
    _starting = false;
    _pending.clear();
}

void FcitxCompanion::ownerChanged(const std::string& owner) {
    _owner = owner;
    if (owner.empty()) {
        return;
    }
    _starting = false;
    _startDeadline.reset();
    for (const std::string& method : std::exchange(_pending, {})) {
        send(method);
    }
}

void FcitxCompanion::send(const std::string& method) {
    fcitx::dbus::Message call = _bus.createMethodCall(
        std::string(companion::kBusName).c_str(), std::string(companion::kObjectPath).c_str(),
        std::string(companion::kInterface).c_str(), method.c_str());
    if (!call.send()) {
        systemLog().write("cannot call the companion's " + method);
    }
}

bool FcitxCompanion::signalled(fcitx::dbus::Message& message) {
    if (_owner.empty() || message.type() != fcitx::dbus::MessageType::Signal ||
        message.sender() != _owner) {
        return false;
    }
    const std::string member = message.member();
    if (member == companion::kKeyPressed && message.signature() == "s") {
        std::string token;
        message >> token;
        defaultCenter().postNotificationName(KVKeyboardKeyPressedNotification, token);
    } else if (member == companion::kSettingsSaved) {
        defaultCenter().postNotificationName(KVSettingsDidChangeNotification);
    } else if (member == companion::kWordsChanged) {
        defaultCenter().postNotificationName(KVUserDictionaryDidChangeNotification);
    } else if (member == companion::kKeyboardClosed) {
        KVKeyboardWindow::sharedWindow().closeWindow();
    }
    return false;
}

}  // namespace kv
