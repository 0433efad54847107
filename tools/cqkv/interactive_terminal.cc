// SPDX-License-Identifier: MIT
#include "tools/cqkv/interactive_terminal.h"

#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <string>
#include <string_view>

#include "tools/cqkv/session_screen.h"
#include "tools/cqkv/terminal_session.h"

namespace kv {

namespace {

// Alternate screen and hidden cursor while the session runs; both undone on the way out.
constexpr std::string_view kEnterScreen = "\x1b[?1049h\x1b[?25l";
constexpr std::string_view kLeaveScreen = "\x1b[?25h\x1b[?1049l";
constexpr std::array<int, 4> kFatalSignals{SIGHUP, SIGINT, SIGQUIT, SIGTERM};

// Read by the signal handler, so plain data set before the handlers are installed.
termios gSavedTerminal{};

void WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void RestoreTerminal() {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &gSavedTerminal);
    WriteAll(kLeaveScreen);
}

// Only async-signal-safe calls: restore the terminal, then die of the signal as usual.
extern "C" void OnFatalSignal(int signal) {
    RestoreTerminal();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Raw mode for the life of the object: bytes arrive one key at a time, unechoed, with Ctrl+C
// and Ctrl+D as ordinary bytes.
class RawTerminal {
  public:
    RawTerminal() {
        if (::tcgetattr(STDIN_FILENO, &gSavedTerminal) != 0) {
            return;
        }
        termios raw = gSavedTerminal;
        raw.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
        raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
        raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN | ISIG);
        raw.c_cflag |= CS8;
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        for (const int signal : kFatalSignals) {
            std::signal(signal, OnFatalSignal);
        }
        _active = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) == 0;
        if (_active) {
            WriteAll(kEnterScreen);
        }
    }
    ~RawTerminal() {
        if (_active) {
            RestoreTerminal();
        }
        for (const int signal : kFatalSignals) {
            std::signal(signal, SIG_DFL);
        }
    }
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

    bool active() const { return _active; }

  private:
    bool _active = false;
};

void Draw(TerminalSession& session) {
    std::string screen = "\x1b[H";
    for (const std::string& line : renderSession(session)) {
        screen += line;
        screen += "\x1b[K\r\n";
    }
    screen += "\x1b[J";
    WriteAll(screen);
}

// Feeds keys to the session until it ends or the terminal has nothing more to read.
void RunLoop(TerminalSession& session) {
    Draw(session);
    std::array<char, 64> buffer{};
    while (true) {
        const ssize_t count = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return;
        }
        for (const TerminalKey& key :
             decodeTerminalKeys(std::string_view(buffer.data(), static_cast<std::size_t>(count)))) {
            const SessionReply reply = session.handleKey(key);
            if (reply.quit) {
                return;
            }
            if (reply.beep) {
                WriteAll("\a");
            }
        }
        Draw(session);
    }
}

}  // namespace

int runInteractiveTerminal(const SessionOptions& options, std::ostream& err) {
    TerminalSession session(options);
    if (!session.hasTable()) {
        for (const std::string& line : session.runner().log().lines) {
            err << "cqkv: " << line << '\n';
        }
        return 1;
    }
    {
        const RawTerminal terminal;
        if (!terminal.active()) {
            err << "cqkv: cannot put the terminal into raw mode\n";
            return 1;
        }
        RunLoop(session);
    }
    if (!session.text().empty()) {
        WriteAll(printableText(session.text()) + "\n");
    }
    return 0;
}

}  // namespace kv
