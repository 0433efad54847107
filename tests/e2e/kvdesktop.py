# SPDX-License-Identifier: MIT
"""A private, headless desktop for end-to-end tests: Xvfb, a session bus and an ibus-daemon of
its own, in a temporary folder, all torn down on exit. Nothing of the user's desktop is touched:
every variable that could reach it is replaced before anything starts."""

import os
import re
import shlex
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

import gi

gi.require_version("IBus", "1.0")
gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf, GLib, IBus  # noqa: E402

# Evdev key codes of the US layout (X key code - 8), and the key symbols typed with Shift.
_LETTER_ROWS = {"qwertyuiop": 16, "asdfghjkl": 30, "zxcvbnm": 44}
_KEYCODES = {c: base + i for row, base in _LETTER_ROWS.items() for i, c in enumerate(row)}
_KEYCODES.update({str(d): 1 + d for d in range(1, 10)})
_KEYCODES.update({"0": 11, "-": 12, "=": 13, "[": 26, "]": 27, ";": 39, "'": 40, "`": 41,
                  "\\": 43, ",": 51, ".": 52, "/": 53, " ": 57})
_SHIFTED = dict(zip('!@#$%^&*()_+{}:"~|<>?', "1234567890-=[];'`\\,./"))
NAMED_KEYS = {
    "space": (IBus.KEY_space, 57), "Return": (IBus.KEY_Return, 28),
    "BackSpace": (IBus.KEY_BackSpace, 14), "Escape": (IBus.KEY_Escape, 1),
    "Tab": (IBus.KEY_Tab, 15), "Left": (IBus.KEY_Left, 105), "Right": (IBus.KEY_Right, 106),
    "Up": (IBus.KEY_Up, 103), "Down": (IBus.KEY_Down, 108), "Page_Up": (IBus.KEY_Page_Up, 104),
    "Page_Down": (IBus.KEY_Page_Down, 109), "Shift_L": (IBus.KEY_Shift_L, 42),
    "Caps_Lock": (IBus.KEY_Caps_Lock, 58), "KP_Enter": (IBus.KEY_KP_Enter, 96),
    "KP_1": (IBus.KEY_KP_1, 79),
}

TESTS_DIR = os.path.dirname(os.path.abspath(__file__))
BUNDLE = os.environ.get("KV_BUNDLE", os.path.join(os.getcwd(), "CQInputKV.app"))


def pump(until=None, timeout=2.0):
    """Runs the main context until `until()` is true (or, without one, for a short while)."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        if until is not None and until():
            return True
        time.sleep(0.005)
    return until is not None and bool(until())


def key_of(name):
    """(keyval, evdev keycode, state) of a character or a named key."""
    if name in NAMED_KEYS:
        keyval, code = NAMED_KEYS[name]
        return keyval, code, 0
    if len(name) == 1:
        if name.isupper():
            return IBus.unicode_to_keyval(name), _KEYCODES[name.lower()], IBus.ModifierType.SHIFT_MASK
        if name in _SHIFTED:
            return IBus.unicode_to_keyval(name), _KEYCODES[_SHIFTED[name]], IBus.ModifierType.SHIFT_MASK
        return IBus.unicode_to_keyval(name), _KEYCODES[name], 0
    raise KeyError(name)


def properties_of(props):
    """The properties of an IBus.PropList and of their sub-lists, depth first."""
    index = 0
    while props is not None and props.get(index) is not None:
        yield props.get(index)
        yield from properties_of(props.get(index).get_sub_props())
        index += 1


class Client:
    """One input context of a test program, recording what the engine sends it."""

    CAPABILITIES = (IBus.Capabilite.PREEDIT_TEXT | IBus.Capabilite.FOCUS
                    | IBus.Capabilite.SURROUNDING_TEXT | IBus.Capabilite.PROPERTY)

    def __init__(self, bus, capabilities=CAPABILITIES, name="kvtest"):
        self.bus = bus
        self.context = bus.create_input_context(name)
        self.context.set_capabilities(capabilities)
        self.committed = ""
        self.preedit = ""
        self.preedit_cursor = 0
        self.preedit_attributes = []
        self.forwarded = []
        self.deleted = []
        self.properties = {}
        self.lookup_tables = []
        self.auxiliary = ""
        self.destroyed = False
        connect = self.context.connect
        connect("commit-text", lambda _c, text: setattr(
            self, "committed", self.committed + text.get_text()))
        connect("update-preedit-text", self._on_preedit)
        connect("hide-preedit-text", lambda _c: setattr(self, "preedit", ""))
        connect("forward-key-event", lambda _c, *key: self.forwarded.append(key))
        connect("delete-surrounding-text", lambda _c, *span: self.deleted.append(span))
        connect("register-properties", lambda _c, props: setattr(
            self, "properties", {p.get_key(): p for p in properties_of(props)}))
        connect("update-property", lambda _c, prop: self.properties.update({prop.get_key(): prop}))
        connect("update-lookup-table", lambda _c, *table: self.lookup_tables.append(table))
        connect("hide-lookup-table", self._on_hide_lookup_table)
        connect("update-auxiliary-text", lambda _c, text, visible: setattr(
            self, "auxiliary", text.get_text() if visible else ""))
        connect("hide-auxiliary-text", lambda _c: setattr(self, "auxiliary", ""))

    def _on_preedit(self, _context, text, cursor, visible):
        self.preedit = text.get_text() if visible else ""
        self.preedit_cursor = cursor
        attributes = text.get_attributes()
        self.preedit_attributes = []
        index = 0
        while attributes is not None and attributes.get(index) is not None:
            a = attributes.get(index)
            self.preedit_attributes.append((a.get_attr_type(), a.get_value(),
                                            a.get_start_index(), a.get_end_index()))
            index += 1

    def _on_hide_lookup_table(self, _context):
        if self.lookup_tables:
            self.lookup_tables.append((self.lookup_tables[-1][0], False))

    def focus_in(self):
        self.context.focus_in()
        pump(timeout=0.05)

    def focus_out(self):
        self.context.focus_out()
        pump(timeout=0.05)

    def cursor_at(self, x, y, w=1, h=18):
        self.context.set_cursor_location(x, y, w, h)
        pump(timeout=0.02)

    def press(self, name, extra_state=0):
        """Presses and releases one key; returns whether the engine consumed the press."""
        keyval, code, state = key_of(name)
        state |= extra_state
        handled = self.context.process_key_event(keyval, code, state)
        self.context.process_key_event(keyval, code, state | IBus.ModifierType.RELEASE_MASK)
        return handled

    def type(self, keys, settle=0.1):
        """Types keys written as characters, or as {Name} for named keys."""
        results = [self.press(named or char)
                   for named, char in re.findall(r"\{([^}]+)\}|(.)", keys, re.DOTALL)]
        pump(timeout=settle)
        return results

    def wait_for_commit(self, text, timeout=3.0):
        return pump(lambda: self.committed.endswith(text), timeout)

    def wait_for_preedit(self, text, timeout=3.0):
        return pump(lambda: self.preedit == text, timeout)

    def destroy(self):
        """Ends the input context; later calls (a test's cleanup) do nothing."""
        if not self.destroyed:
            self.destroyed = True
            self.context.destroy()
            pump(timeout=0.05)


class PrivateDesktop:
    """Xvfb, a private session bus and a private ibus-daemon; `bundles` are registered (their
    component description, with the executable's absolute path filled in) before the daemon
    starts, so the daemon itself launches their engines. With `window_manager`, openbox manages
    the windows, so that focus moves by clicks and windows stack as on a person's desktop."""

    def __init__(self, bundles=(), width=1280, height=800, environment=None,
                 window_manager=False, panel="disable"):
        self.panel = panel
        self.bundles = list(bundles)
        self.width = width
        self.height = height
        self.extra_environment = dict(environment or {})
        self.window_manager = window_manager
        self._processes = []
        self._saved_environment = None
        self.folder = None
        self._bus = None
        self._ibus_log = None

    # -- start and stop ---------------------------------------------------------------------
    def __enter__(self):
        self._saved_environment = dict(os.environ)
        self.folder = tempfile.mkdtemp(prefix="kv-desktop-")
        try:
            self._private_environment()
            self._start_display()
            self._start_session_bus()
            if self.window_manager:
                self._start_window_manager()
            self._start_framework()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *_exc):
        if self._bus is not None and self._bus.is_connected():
            try:
                self._bus.exit(False)
            except GLib.Error:
                pass
        self._bus = None
        for process in reversed(self._processes):
            _stop(process)
        self._processes = []
        if self._ibus_log is not None:
            self._ibus_log.close()
            self._ibus_log = None
        # Engines the daemon launched are its children; anything still holding the folder's
        # sockets belongs to this desktop alone.
        subprocess.run(["pkill", "-TERM", "-f", self.folder], check=False)
        os.environ.clear()
        os.environ.update(self._saved_environment)
        shutil.rmtree(self.folder, ignore_errors=True)
        return False

    def _private_environment(self):
        for name in ("DBUS_SESSION_BUS_ADDRESS", "IBUS_ADDRESS", "WAYLAND_DISPLAY", "DISPLAY",
                     "GTK_IM_MODULE", "XMODIFIERS", "QT_IM_MODULE"):
            os.environ.pop(name, None)
        for name, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "config"),
                          ("XDG_CACHE_HOME", "cache"), ("XDG_DATA_HOME", "data"),
                          ("XDG_RUNTIME_DIR", "runtime")):
            path = os.path.join(self.folder, sub)
            os.makedirs(path, mode=0o700)
            os.environ[name] = path
        self.component_dir = os.path.join(self.folder, "components")
        os.makedirs(self.component_dir)
        os.environ["IBUS_COMPONENT_PATH"] = self.component_dir + ":/usr/share/ibus/component"
        os.environ["GSETTINGS_BACKEND"] = "memory"
        os.environ["NO_AT_BRIDGE"] = "1"
        os.environ["CQINPUTKV_LOG"] = self.log_path
        os.environ.update(self.extra_environment)

    @property
    def log_path(self):
        return os.path.join(self.folder, "engine.log")

    def engine_log(self):
        return read_text(self.log_path)

    def _start_display(self):
        read_end, write_end = os.pipe()
        process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self._processes.append(process)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number

    def _start_session_bus(self):
        socket = os.path.join(self.folder, "dbus.sock")
        process = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile",
             "--address=unix:path=" + socket], stdout=subprocess.DEVNULL)
        self._processes.append(process)
        _wait_for(lambda: os.path.exists(socket), "the session bus")
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + socket

    def _start_window_manager(self):
        # Without XMODIFIERS: a window manager that opened an input method of its own deadlocks
        # once the first daemon goes away.
        environment = dict(os.environ)
        environment.pop("XMODIFIERS", None)
        environment.pop("GTK_IM_MODULE", None)
        self._processes.append(subprocess.Popen(
            ["openbox", "--sm-disable"], env=environment, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL))
        _wait_for(lambda: "window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True,
            check=False).stdout, "the window manager")

    def _start_framework(self):
        for bundle in self.bundles:
            install_component(bundle, self.component_dir)
        self._start_ibus()

    def _start_ibus(self):
        socket = os.path.join(self.folder, "ibus.sock")
        self._ibus_log = open(os.path.join(self.folder, "ibus-daemon.log"), "wb")
        process = subprocess.Popen(
            ["ibus-daemon", "--panel=" + self.panel, "--emoji-extension=disable",
             "--config=disable", "--cache=none", "--address=unix:path=" + socket],
            stdout=self._ibus_log, stderr=subprocess.STDOUT)
        self._processes.append(process)
        os.environ["IBUS_ADDRESS"] = "unix:path=" + socket
        _wait_for(lambda: os.path.exists(socket), "ibus-daemon")
        self._bus = IBus.Bus.new()
        if not pump(self._bus.is_connected, timeout=10):
            raise RuntimeError("ibus-daemon does not answer")

    # -- use --------------------------------------------------------------------------------
    def bus(self):
        return self._bus

    def client(self, **kwargs):
        return Client(self._bus, **kwargs)

    def select_engine(self, name="cqinputkv"):
        """Makes `name` the global engine; returns once the engine is attached."""
        return self._bus.set_global_engine(name)

    def spawn(self, argv, **kwargs):
        """Starts a program on this desktop; stopped at teardown."""
        process = subprocess.Popen(argv, **kwargs)
        self._processes.append(process)
        return process

    def restart_daemon(self, timeout=10):
        """Restarts the daemon as `ibus restart` does (it re-executes itself with the same
        process id); returns once it answers again."""
        self._bus.exit(True)
        pump(lambda: not self._bus.is_connected(), timeout=timeout)
        return pump(self._bus.is_connected, timeout=timeout)

    def text_app(self, title="kv-text-app", at=(100, 100), environment=None):
        """Starts the GTK 3 text application (tests/e2e/text_app.py) with the IBus input
        module; returns it once its window is on screen."""
        return TextApp(self, title, at, environment or {})

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path


def xdotool(*args):
    """Runs xdotool; returns the words it printed."""
    return subprocess.run(["xdotool", *args], capture_output=True, text=True,
                          check=False).stdout.split()


def window_geometry(window):
    """(x, y, width, height) of a window's inside, in root coordinates; all -1 once the window
    is gone (it may close between a search and this question)."""
    values = {}
    for line in subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                               check=False).stdout.splitlines():
        line = line.strip()
        for key, name in (("Absolute upper-left X:", "x"), ("Absolute upper-left Y:", "y"),
                          ("Width:", "w"), ("Height:", "h")):
            if line.startswith(key):
                values[name] = int(line.split(":")[1])
    return tuple(values.get(n, -1) for n in "xywh")


def program_windows(name="^CQInputKV$"):
    """Geometries of the program's visible windows whose title matches `name`, smallest
    first; the candidate panel and the keyboard are both titled CQInputKV."""
    shown = (window_geometry(w) for w in xdotool("search", "--onlyvisible", "--name", name))
    return sorted((g for g in shown if g[2] >= 0), key=lambda g: g[2] * g[3])


class TextApp:
    """One running text application: its window, its text, and clicks into it."""

    def __init__(self, desktop, title, at, environment):
        self.desktop = desktop
        self.title = title
        self.text_file = os.path.join(desktop.folder, title + ".txt")
        # A None in `environment` removes that variable.
        env = {k: v for k, v in dict(os.environ, **{"GTK_IM_MODULE": "ibus", **environment}).items()
               if v is not None}
        self.process = desktop.spawn(
            ["/usr/bin/python3", os.path.join(TESTS_DIR, "text_app.py"), self.text_file, title,
             str(at[0]), str(at[1])], env=env, stdout=subprocess.PIPE, text=True)
        ready = self.process.stdout.readline().strip() == "ready"
        self.process.stdout.close()
        if not ready:
            raise RuntimeError("the GTK application did not start")
        windows = lambda: xdotool("search", "--onlyvisible", "--name", "^" + title + "$")  # noqa
        _wait_for(windows, "the window of " + title)
        self.window = windows()[0]

    def geometry(self):
        return window_geometry(self.window)

    def click(self, dx=20, dy=10):
        """Clicks into the text at (dx, dy) from the window's top-left corner, as a person
        would to focus it or to move the caret."""
        x, y, _, _ = self.geometry()
        xdotool("mousemove", "--sync", str(x + dx), str(y + dy))
        xdotool("click", "1")
        time.sleep(0.3)

    def text(self):
        return read_text(self.text_file)

    def wait_for_text(self, text, timeout=5):
        """Whether the text becomes `text` within the bound."""
        return pump(lambda: self.text() == text, timeout)

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=5)


def read_text(path):
    """The file's text; empty while it cannot be read."""
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read()
    except OSError:
        return ""


def keys(*names, delay=40):
    """Types named keys into the focused window through XTEST, as a person would."""
    xdotool("key", "--delay", str(delay), *names)
    time.sleep(0.3)


def windows_when(condition, timeout=3, name="^CQInputKV$"):
    """The program's visible windows once `condition` holds for them (or at the timeout)."""
    pump(lambda: condition(program_windows(name)), timeout)
    return program_windows(name)


def pixel(png, x, y):
    """The (r, g, b) of one pixel of a screenshot."""
    return next(iter(colour_counts(png, (x, y, 1, 1))))


def colour_counts(png, box, colours=None):
    """{(r, g, b): how many pixels} in `box` (x, y, width, height) of a screenshot, counting
    only `colours` when given."""
    pixbuf = GdkPixbuf.Pixbuf.new_from_file(png)
    x0, y0, w, h = box
    pixels = pixbuf.get_pixels()
    stride, channels = pixbuf.get_rowstride(), pixbuf.get_n_channels()
    counts = {c: 0 for c in colours or ()}
    for y in range(max(y0, 0), min(y0 + h, pixbuf.get_height())):
        for x in range(max(x0, 0), min(x0 + w, pixbuf.get_width())):
            i = y * stride + x * channels
            rgb = (pixels[i], pixels[i + 1], pixels[i + 2])
            if colours is None or rgb in counts:
                counts[rgb] = counts.get(rgb, 0) + 1
    return counts


class DesktopCase(unittest.TestCase):
    """Tests that share one private desktop, torn down after the class (or a failed setup)."""

    @classmethod
    def open_desktop(cls, desktop=None, **kwargs):
        """Starts `desktop` (by default one with the built bundle) as `cls.desktop`."""
        cls.desktop = desktop or PrivateDesktop(bundles=[BUNDLE], **kwargs)
        cls.desktop.__enter__()
        cls.addClassCleanup(cls.desktop.__exit__, None, None, None)
        return cls.desktop

    @classmethod
    def select_engine(cls):
        """Makes the program the global engine and lets it settle; raises if it cannot."""
        if not cls.desktop.select_engine():
            raise RuntimeError("the engine could not be selected: " + cls.desktop.engine_log())
        time.sleep(0.3)

    def focused_client(self, caret=(200, 300), settle=0.2, **kwargs):
        """A client with the focus and its caret at `caret` (none if None), typing into the
        program; destroyed after the test."""
        client = self.desktop.client(**kwargs)
        self.addCleanup(client.destroy)
        client.focus_in()
        if caret is not None:
            client.cursor_at(*caret)
        self.assertTrue(self.desktop.select_engine(), self.desktop.engine_log())
        pump(timeout=settle)
        return client


def write_settings(text):
    """Stores the program's settings file (key-file text) in the private configuration folder,
    as the settings window would have saved it."""
    folder = os.path.join(os.environ["XDG_CONFIG_HOME"], "CQ_Input_KV")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "defaults.conf"), "w", encoding="utf-8") as f:
        f.write(text)


def install_component(bundle, folder, command=None):
    """Writes the bundle's component description into `folder` with absolute paths; the daemon
    starts the engine with `command(executable)` when given."""
    contents = os.path.join(os.path.abspath(bundle), "Contents")
    tree = ET.parse(os.path.join(contents, "Resources", "CQInputKV.xml"))
    root = tree.getroot()
    executable = os.path.join(contents, "MacOS", "CQInputKV")
    root.find("exec").text = (command(executable) if command
                              else shlex.quote(executable) + " --ibus")
    for icon in root.iter("icon"):
        icon.text = os.path.join(contents, "Resources", icon.text)
    path = os.path.join(folder, "CQInputKV.xml")
    tree.write(path, encoding="utf-8", xml_declaration=True)
    return path


def _wait_for(condition, what, timeout=10):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.01)
    raise RuntimeError(what + " did not start")


def _stop(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
