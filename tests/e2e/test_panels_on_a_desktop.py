# SPDX-License-Identifier: MIT
"""The program's panels and windows on a desktop with a window manager, used with the mouse as a
person would: the list's wheel and slider, the on-screen keyboard opened in fresh engine
processes, dragged, resized by its grip and by the window manager, hidden by a focus loss and
brought back; the panel's corners on a screen without a compositor; the words window typed into
while the session sets GTK_IM_MODULE=ibus, as a desktop does. The engine runs in a session that
looks like Wayland to GDK (GDK_BACKEND=wayland and a WAYLAND_DISPLAY with no compositor behind
it): its windows must still come up on X11, as they do through XWayland."""

import os
import signal
import subprocess
import sys
import time
import unittest

from kvdesktop import (BUNDLE, DesktopCase, keys, pixel, pump, read_text,
                       windows_when, write_settings, xdotool)
from kvdesktop import program_windows as panels
from kvdesktop import window_geometry as geometry

CQKV = os.path.join(os.path.dirname(os.path.abspath(BUNDLE)), "tools", "cqkv", "cqkv")
SCREEN = (1280, 800)
KEYBOARD = (720, 350)
# The light preset "霧白", whose panel corners show black on a screen without a compositor when
# they are left clear.
LIGHT_SETTINGS = "[Integer]\nThemePreset=2\n"
ROW_HEIGHT = 34
PAGE = 10
WAYLAND_LOOKING_SESSION = {"GTK_IM_MODULE": "ibus", "GDK_BACKEND": "wayland",
                           "WAYLAND_DISPLAY": "wayland-kv-none"}
# The applications are X11 clients, as XWayland's are.
X11_APPLICATION = {"GDK_BACKEND": None, "WAYLAND_DISPLAY": None}


def keyboard():
    """The on-screen keyboard's geometry, or None while it is not shown."""
    shown = [g for g in panels() if g[2] >= 500]
    return shown[0] if shown else None


def screen_composites():
    """Whether GDK sees a compositor on the display, as the engine asks it."""
    return subprocess.run(
        ["/usr/bin/python3", "-c", "import gi; gi.require_version('Gdk', '3.0'); "
         "from gi.repository import Gdk; Gdk.init([]); "
         "print(Gdk.Screen.get_default().is_composited())"],
        capture_output=True, text=True).stdout.strip() == "True"


def candidates(code):
    out = subprocess.run([CQKV, "lookup", code], capture_output=True, text=True, check=True)
    return out.stdout.split()


def corners(x, y, w, h):
    return ((x, y), (x + w - 1, y), (x, y + h - 1), (x + w - 1, y + h - 1))


class PanelsUnderAWindowManager(DesktopCase):
    @classmethod
    def setUpClass(cls):
        # The daemon hands its environment to the engine, as a desktop session's does.
        cls.open_desktop(width=SCREEN[0], height=SCREEN[1], window_manager=True,
                         environment=WAYLAND_LOOKING_SESSION)
        write_settings(LIGHT_SETTINGS)
        cls.app = cls.desktop.text_app(environment=X11_APPLICATION)
        cls.other = cls.desktop.text_app("kv-other-app", environment=X11_APPLICATION)
        cls.activate(cls.app.window)
        cls.select_engine()

    @staticmethod
    def activate(window):
        xdotool("windowactivate", "--sync", window)
        time.sleep(0.3)

    def drag(self, start, end, button="1"):
        xdotool("mousemove", "--sync", str(start[0]), str(start[1]))
        xdotool("mousedown", button)
        time.sleep(0.1)
        for i in range(1, 7):  # in steps, as a hand moves
            xdotool("mousemove", "--sync", *(str(a + (b - a) * i // 6) for a, b in zip(start, end)))
            time.sleep(0.03)
        xdotool("mouseup", button)
        time.sleep(0.4)

    def clear(self):
        self.activate(self.app.window)
        keys("Escape", "ctrl+a", "BackSpace")

    def list_of(self, *code):
        keys(*code, "space")
        found = windows_when(lambda found: any(g[3] > 300 and g[2] < 500 for g in found), 5)
        found = [g for g in found if g[3] > 300 and g[2] < 500]
        self.assertTrue(found, self.desktop.engine_log())
        return found[0]

    def engine_pid(self):
        """The engine process this desktop's daemon started, if one runs."""
        daemon = subprocess.run(["pgrep", "-f", "ibus-daemon .*" + self.desktop.folder],
                                capture_output=True, text=True).stdout.split()[0]
        children = subprocess.run(["pgrep", "-P", daemon, "-f", "CQInputKV"],
                                  capture_output=True, text=True).stdout.split()
        return int(children[0]) if children else None

    def fresh_engine(self):
        """Ends the engine process; selecting the engine again starts a new one."""
        pid = self.engine_pid()
        if pid is not None:
            os.kill(pid, signal.SIGKILL)
            pump(lambda: self.engine_pid() is None, timeout=5)
        self.activate(self.app.window)
        self.select_engine()
        self.assertTrue(pump(lambda: self.engine_pid() not in (None, pid), timeout=5))

    # -- the candidate list ----------------------------------------------------------------------
    def test_1_square_corners_on_a_screen_without_compositor(self):
        self.clear()
        x, y, w, h = self.list_of("a")
        shot = self.desktop.screenshot(os.path.join(self.desktop.folder, "light-panel.png"))
        shown = [pixel(shot, *corner) for corner in corners(x, y, w, h)]
        # The border runs round a square panel: every corner shows it, none is black.
        self.assertNotIn((0, 0, 0), shown, shot)
        self.assertEqual(len(set(shown)), 1, shown)
        keys("Escape")

    def test_2_the_wheel_and_the_slider_page_the_list(self):
        listed = candidates("a?")
        self.assertGreater(len(listed), 3 * PAGE)
        last_page = (len(listed) - 1) // PAGE * PAGE

        self.clear()
        x, y, w, h = self.list_of("a", "question")
        xdotool("mousemove", "--sync", str(x + w // 2), str(y + h // 2))
        xdotool("click", "5")
        time.sleep(0.3)
        keys("1")
        self.assertTrue(self.app.wait_for_text(listed[PAGE], 3), self.app.text())
        xdotool("mousemove", "0", "0")

        self.clear()
        x, y, w, h = self.list_of("a", "question")
        # The knob sits at the slider's top on the first page; dragged to the bottom, the list
        # shows each page on the way and ends on the last.
        slider_x = x + w - 13
        top, bottom = y + h - 9 - (PAGE * ROW_HEIGHT - 8), y + h - 9
        self.drag((slider_x, top + 8), (slider_x, bottom - 2))
        keys("1")
        self.assertTrue(self.app.wait_for_text(listed[last_page], 3), self.app.text())

    # -- the on-screen keyboard ------------------------------------------------------------------
    def test_3_the_keyboard_opens_centred_and_comes_back_where_it_was_left(self):
        centred = ((SCREEN[0] - KEYBOARD[0]) // 2, (SCREEN[1] - KEYBOARD[1]) // 2)
        for attempt in range(5):
            with self.subTest(attempt=attempt):
                self.fresh_engine()
                self.clear()
                keys("c", "q", "k", "e", "y", "space")
                self.assertTrue(pump(lambda: keyboard() is not None, 5), self.desktop.engine_log())
                time.sleep(0.5)  # late configure events from the window manager have arrived
                kx, ky, kw, kh = keyboard()
                self.assertEqual((kx, ky, kw, kh), centred + KEYBOARD)

                # Dragged by its top strip, through the window manager.
                self.drag((kx + 100, ky + 8), (kx + 100 - 150 + attempt * 10, ky + 8 + 120))
                moved = (kx - 150 + attempt * 10, ky + 120, kw, kh)
                self.assertTrue(pump(lambda: keyboard() == moved, 3), (keyboard(), moved))

                # Another application takes the focus: hidden; back and a key: where it was left.
                self.activate(self.other.window)
                self.assertTrue(pump(lambda: keyboard() is None, 3), keyboard())
                self.activate(self.app.window)
                keys("a", "Escape")
                self.assertTrue(pump(lambda: keyboard() == moved, 3), (keyboard(), moved))

    def test_4_the_keyboard_resizes_by_its_grip_and_by_the_window_manager(self):
        self.clear()
        if keyboard() is None:
            keys("c", "q", "k", "e", "y", "space")
        self.assertTrue(pump(lambda: keyboard() is not None, 5), self.desktop.engine_log())
        kx, ky, kw, kh = keyboard()
        shot = self.desktop.screenshot(os.path.join(self.desktop.folder, "keyboard.png"))
        # The grip's dots show in the bottom-right corner, beside the backspace control.
        self.assertNotEqual(pixel(shot, kx + kw - 7 + 1, ky + kh - 4 - 2),
                            pixel(shot, kx + kw - 3, ky + kh - 12), shot)

        # The grip resizes from the bottom-right corner; the top-left corner stays.
        self.drag((kx + kw - 6, ky + kh - 6), (kx + kw - 6 + 80, ky + kh - 6 + 40))
        grown = (kx, ky, kw + 80, kh + 40)
        self.assertTrue(pump(lambda: keyboard() == grown, 3), (keyboard(), grown))

        # The backspace control ends left of the grip: its corner deletes, and resizes nothing.
        keys("a", "space", "1")
        self.assertTrue(self.app.wait_for_text("日", 3), self.app.text())
        kx, ky, kw, kh = keyboard()
        xdotool("mousemove", "--sync", str(kx + kw - 27), str(ky + kh - 11))
        xdotool("click", "1")
        self.assertTrue(self.app.wait_for_text("", 3), self.app.text())
        self.assertEqual(keyboard(), grown)

        # The window manager resizes it from the left edge, as a tiling manager or a script
        # asks it to: kept, also after the next key and after a focus loss.
        window = [w for w in xdotool("search", "--onlyvisible", "--name", "^CQInputKV$")
                  if geometry(w)[2] >= 500][0]
        xdotool("windowmove", "--sync", window, str(kx - 100), str(ky))
        xdotool("windowsize", "--sync", window, str(kw + 100), str(kh))
        widened = (kx - 100, ky, kw + 100, kh)
        self.assertTrue(pump(lambda: keyboard() == widened, 3), (keyboard(), widened))
        keys("a", "Escape")
        self.activate(self.other.window)
        self.activate(self.app.window)
        keys("a", "Escape")
        self.assertTrue(pump(lambda: keyboard() == widened, 3), (keyboard(), widened))
        self.desktop.screenshot(os.path.join(self.desktop.folder, "keyboard-widened.png"))
        keys("c", "q", "k", "e", "y", "space")
        self.assertTrue(pump(lambda: keyboard() is None, 3))

    # -- the words window ----------------------------------------------------------------------
    def test_5_the_words_window_takes_keys_directly(self):
        self.clear()
        keys("c", "q", "a", "d", "d", "space")
        found = windows_when(bool, 5, name="自建詞組")
        self.assertTrue(found, self.desktop.engine_log())
        self.activate(xdotool("search", "--onlyvisible", "--name", "自建詞組")[0])
        keys("a", "b", "Tab", "x", "y", "Return")
        words = os.path.join(os.environ["XDG_DATA_HOME"], "CQ_Input_KV", "CQ_Input_KV_User.txt")
        self.assertTrue(pump(lambda: read_text(words).endswith("\n"), 5), read_text(words))
        self.assertEqual(read_text(words), "ab xy\n")


class ACompositedScreen(DesktopCase):
    """Where a compositor runs, the list's round corners show what lies below them."""

    def test_round_corners_show_the_window_below(self):
        desktop = self.open_desktop(width=SCREEN[0], height=SCREEN[1])
        write_settings(LIGHT_SETTINGS)
        desktop.spawn(["xcompmgr"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.assertTrue(pump(screen_composites, timeout=10))
        xdotool("windowfocus", "--sync", desktop.text_app().window)
        time.sleep(0.3)
        self.assertTrue(desktop.select_engine(), desktop.engine_log())
        keys("a", "space")
        found = windows_when(lambda found: any(g[3] > 300 for g in found), 5)
        self.assertTrue(any(g[3] > 300 for g in found), desktop.engine_log())
        time.sleep(0.3)
        x, y, w, h = [g for g in panels() if g[3] > 300][0]
        shot = desktop.screenshot(os.path.join(desktop.folder, "composited.png"))
        # The corner pixels lie outside the curve: the text view's white shows there, while
        # the edges between them are the panel's border.
        border = pixel(shot, x + w // 2, y)
        for corner in corners(x, y, w, h):
            self.assertNotIn(pixel(shot, *corner), ((0, 0, 0), border), (corner, shot))
        self.assertEqual(pixel(shot, x, y), (255, 255, 255), shot)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
