# SPDX-License-Identifier: MIT
"""The companion process (`CQInputKV --companion`) alone on a private desktop with a window
manager, driven as the fcitx5 addon drives it: over the session bus, by a plain D-Bus client.
Its windows come when asked, a person's clicks and Save come back as signals, a second
companion leaves the name to the first, and it ends on SIGTERM or when left without windows."""

import os
import subprocess
import time

from gi.repository import Gio, GLib

from kvdesktop import (BUNDLE, DesktopCase, PrivateDesktop, program_windows, pump, read_text,
                       xdotool)

NAME = "org.cqinputkv.inputmethod.CQInputKV.Companion"
PATH = "/org/cqinputkv/Companion"
INTERFACE = "org.cqinputkv.Companion1"
EXECUTABLE = os.path.join(BUNDLE, "Contents", "MacOS", "CQInputKV")
SETTINGS_TITLE = "^澄雀輸入法-雲階　設定$"
WORDS_TITLE = "^澄雀輸入法-雲階　自建詞組$"


class DesktopWithoutFramework(PrivateDesktop):
    """The private desktop with no input method framework: the companion needs only a display
    and the session bus."""

    def _start_framework(self):
        pass


def key_centre(keyboard, row, column):
    """Where a person clicks the key at `row` (top row 0) and `column` of the keyboard whose
    inside is `keyboard` (x, y, width, height), as the keyboard lays its 13-column grid out."""
    rows = ("`1234567890-=", "qwertyuiop[]\\", "asdfghjkl;'", "zxcvbnm,./")
    x, y, w, h = keyboard
    column_step = max((w - 16) / 13, 30)
    row_step = max((h - 116) / 4, 40)
    left = 8 + (13 - len(rows[row])) * column_step / 2 + column * column_step
    top = 25 + row * row_step + 6
    return round(x + left + (column_step - 4) / 2), round(y + top + (row_step - 6) / 2)


def drag(start, end):
    """Presses, moves in steps as a hand does, and lets go."""
    xdotool("mousemove", "--sync", str(start[0]), str(start[1]))
    xdotool("mousedown", "1")
    time.sleep(0.1)
    for i in range(1, 7):
        xdotool("mousemove", "--sync", *(str(a + (b - a) * i // 6) for a, b in zip(start, end)))
        time.sleep(0.03)
    xdotool("mouseup", "1")
    time.sleep(0.4)


class CompanionCase(DesktopCase):

    @classmethod
    def setUpClass(cls):
        cls.open_desktop(DesktopWithoutFramework(window_manager=True, **cls.desktop_options()))
        cls.connection = Gio.DBusConnection.new_for_address_sync(
            os.environ["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        cls.addClassCleanup(cls.connection.close_sync, None)
        cls.signals = []
        cls.connection.signal_subscribe(
            None, INTERFACE, None, PATH, None, Gio.DBusSignalFlags.NONE,
            lambda _c, _sender, _path, _iface, name, args: cls.signals.append(
                (name, *args.unpack())))

    @classmethod
    def desktop_options(cls):
        return {}

    def owner(self):
        try:
            return self.connection.call_sync(
                "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                "GetNameOwner", GLib.Variant("(s)", (NAME,)), None, Gio.DBusCallFlags.NONE,
                2000, None).unpack()[0]
        except GLib.Error:
            return ""

    def start_companion(self):
        process = self.desktop.spawn([EXECUTABLE, "--companion"])
        self.assertTrue(pump(lambda: self.owner() != "", 10), self.desktop.engine_log())
        return process

    def call(self, method):
        self.connection.call_sync(NAME, PATH, INTERFACE, method, None, None,
                                  Gio.DBusCallFlags.NONE, 5000, None)

    def wait_for_signal(self, signal, timeout=5):
        return pump(lambda: signal in self.signals, timeout)


class TheCompanion(CompanionCase):

    def test_windows_come_when_asked_and_what_the_user_does_comes_back(self):
        companion = self.start_companion()
        first_owner = self.owner()

        # A second companion leaves at once, and the first keeps the name.
        second = subprocess.run([EXECUTABLE, "--companion"], timeout=20, check=False)
        self.assertEqual(second.returncode, 0)
        self.assertEqual(self.owner(), first_owner)
        self.assertIn("another companion already serves " + NAME, self.desktop.engine_log())

        # The keyboard: centred on the screen, its keys' clicks come back as tokens.
        self.call("ShowKeyboard")
        self.assertTrue(pump(lambda: len(program_windows()) == 1, 5), self.desktop.engine_log())
        keyboard = program_windows()[0]
        x, y, w, h = keyboard
        self.assertEqual((w, h), (720, 350))
        self.assertLess(abs(x + w / 2 - self.desktop.width / 2), 40, keyboard)
        self.desktop.screenshot(os.path.join(self.desktop.folder, "companion-keyboard.png"))
        for row, column, token in ((1, 0, "q"), (2, 1, "s")):
            px, py = key_centre(keyboard, row, column)
            xdotool("mousemove", "--sync", str(px), str(py))
            xdotool("click", "1")
            self.assertTrue(self.wait_for_signal(("KeyPressed", token)), self.signals)
        # Dragged by its top strip, hidden and shown again: where the user left it.
        drag((x + 100, y + 8), (x + 100 - 150, y + 8 + 120))
        keyboard = (x - 150, y + 120, w, h)
        self.assertTrue(pump(lambda: program_windows() == [keyboard], 3), program_windows())
        self.call("HideKeyboard")
        self.assertTrue(pump(lambda: program_windows() == [], 5), program_windows())
        self.assertNotIn(("KeyboardClosed",), self.signals)
        self.call("ShowKeyboard")
        self.assertTrue(pump(lambda: program_windows() == [keyboard], 5), program_windows())

        # Closed by its own close control, it says so: the input method drops the wish to see it.
        x, y, w, h = keyboard
        xdotool("mousemove", "--sync", str(x + w - 19), str(y + 13))
        xdotool("click", "1")
        self.assertTrue(self.wait_for_signal(("KeyboardClosed",)), self.signals)
        self.assertTrue(pump(lambda: program_windows() == [], 5), program_windows())

        # The settings window; its Save stores the settings and hides it.
        self.call("ShowSettings")
        self.assertTrue(pump(lambda: len(program_windows(SETTINGS_TITLE)) == 1, 5),
                        self.desktop.engine_log())
        self.desktop.screenshot(os.path.join(self.desktop.folder, "companion-settings.png"))
        x, y, w, h = program_windows(SETTINGS_TITLE)[0]
        self.assertEqual((w, h), (790, 570))
        # The Save button's centre, as the window lays it out from its bottom-left corner.
        xdotool("mousemove", "--sync", str(x + 620 + 70), str(y + h - 44 - 18))
        xdotool("click", "1")
        self.assertTrue(self.wait_for_signal(("SettingsSaved",)), self.signals)
        self.assertTrue(pump(lambda: program_windows(SETTINGS_TITLE) == [], 5))
        settings = os.path.join(os.environ["XDG_CONFIG_HOME"], "CQ_Input_KV", "defaults.conf")
        self.assertTrue(os.path.exists(settings))

        # The words window; its reload tells the input method the dictionary changed.
        self.call("ShowWords")
        self.assertTrue(pump(lambda: len(program_windows(WORDS_TITLE)) == 1, 5))
        x, y, w, h = program_windows(WORDS_TITLE)[0]
        self.assertNotIn(("WordsChanged",), self.signals)
        xdotool("mousemove", "--sync", str(x + 168 + 54), str(y + h - 42 - 16))
        xdotool("click", "1")
        self.assertTrue(self.wait_for_signal(("WordsChanged",)), self.signals)

        companion.send_signal(15)
        self.assertEqual(companion.wait(timeout=10), 0)
        self.assertTrue(pump(lambda: self.owner() == "", 5))


class LeftWithoutWindows(CompanionCase):

    @classmethod
    def desktop_options(cls):
        return {"environment": {"CQINPUTKV_COMPANION_IDLE": "2"}}

    def test_the_companion_ends_by_itself_once_no_window_is_left(self):
        companion = self.start_companion()
        self.call("ShowKeyboard")
        self.assertTrue(pump(lambda: len(program_windows()) == 1, 5))
        # Shown, it stays past the idle time; hidden, it goes on its own.
        time.sleep(3)
        self.assertIsNone(companion.poll())
        self.call("HideKeyboard")
        self.assertEqual(companion.wait(timeout=15), 0)
        self.assertIn("it ends", read_text(self.desktop.log_path))
