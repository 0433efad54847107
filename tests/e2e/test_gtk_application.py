# SPDX-License-Identifier: MIT
"""The input method typing into a real GTK3 application (GTK_IM_MODULE=ibus), with keys and
clicks sent through XTEST as a user's would be, and its panels looked at on the screen."""

import os
import subprocess
import sys
import time
import unittest

import gi

gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf  # noqa: E402

from kvdesktop import TESTS_DIR, PrivateDesktop, pump, window_geometry, xdotool  # noqa: E402
from kvdesktop import program_windows as panels  # noqa: E402

BUNDLE = os.environ.get("KV_BUNDLE", os.path.join(os.getcwd(), "CQInputKV.app"))
# The default theme: panel background and selected row.
BACKGROUND = (11, 20, 34)
SELECTION = (13, 112, 147)





def colour_counts(png, box, colours):
    pixbuf = GdkPixbuf.Pixbuf.new_from_file(png)
    x0, y0, w, h = box
    pixels = pixbuf.get_pixels()
    stride, channels = pixbuf.get_rowstride(), pixbuf.get_n_channels()
    counts = {c: 0 for c in colours}
    for y in range(max(y0, 0), min(y0 + h, pixbuf.get_height())):
        for x in range(max(x0, 0), min(x0 + w, pixbuf.get_width())):
            i = y * stride + x * channels
            rgb = (pixels[i], pixels[i + 1], pixels[i + 2])
            if rgb in counts:
                counts[rgb] += 1
    return counts


class TypingIntoAGtkApplication(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = PrivateDesktop(bundles=[BUNDLE])
        cls.desktop.__enter__()
        try:
            cls.text_file = os.path.join(cls.desktop.folder, "text.txt")
            environment = dict(os.environ, GTK_IM_MODULE="ibus")
            cls.app = cls.desktop.spawn(
                ["/usr/bin/python3", os.path.join(TESTS_DIR, "text_app.py"), cls.text_file],
                env=environment, stdout=subprocess.PIPE, text=True)
            if cls.app.stdout.readline().strip() != "ready":
                raise RuntimeError("the GTK application did not start")
            windows = []
            deadline = time.monotonic() + 10
            while not windows and time.monotonic() < deadline:
                windows = xdotool("search", "--onlyvisible", "--name", "kv-text-app")
                time.sleep(0.05)
            cls.window = windows[0]
            xdotool("windowfocus", "--sync", cls.window)
            time.sleep(0.3)
            if not cls.desktop.select_engine():
                raise RuntimeError("the engine could not be selected")
            time.sleep(0.3)
        except BaseException:
            cls.desktop.__exit__(None, None, None)
            raise

    @classmethod
    def tearDownClass(cls):
        cls.desktop.__exit__(None, None, None)

    def text(self):
        try:
            with open(self.text_file, encoding="utf-8") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def keys(self, *names):
        xdotool("key", "--delay", "30", *names)
        time.sleep(0.3)

    def wait_for_text(self, text, timeout=5):
        return pump(lambda: self.text().endswith(text), timeout)

    def wait_for_panels(self, count, timeout=5):
        pump(lambda: len(panels()) == count, timeout)
        return panels()

    def clear(self):
        self.keys("Escape", "ctrl+a", "BackSpace")

    def test_1_typing_commits_and_the_panel_shows_below_the_caret(self):
        self.clear()
        self.keys("a", "space")
        shown = self.wait_for_panels(1)
        self.assertEqual(len(shown), 1, self.desktop.engine_log())
        x, y, w, h = shown[0]
        app_x, app_y, _, _ = window_geometry(self.window)
        # Below the caret of the text view's first line, near its left edge.
        self.assertGreater(y, app_y)
        self.assertLess(y, app_y + 80)
        self.assertLess(abs(x - app_x), 120)
        shot = self.desktop.screenshot(os.path.join(self.desktop.folder, "panel.png"))
        counts = colour_counts(shot, (x, y, w, h), [BACKGROUND, SELECTION])
        self.assertGreater(counts[BACKGROUND], w * h // 4, counts)
        self.assertGreater(counts[SELECTION], 200, counts)
        self.assertEqual(self.text(), "")
        self.keys("2")
        self.assertTrue(self.wait_for_text("曰"), self.text())
        # After the commit only the toolbar stays beside the caret.
        self.assertTrue(pump(lambda: panels() and panels()[0][3] < 60, timeout=3), panels())

    def test_2_a_click_on_a_row_chooses_it(self):
        self.clear()
        self.keys("a", "space")
        x, y, w, h = self.wait_for_panels(1)[0]
        # Rows run down from the top, under the toolbar; the second is 曰.
        shot = self.desktop.screenshot(os.path.join(self.desktop.folder, "rows.png"))
        row_top = self.first_row_top(shot, (x, y, w, h))
        xdotool("mousemove", "--sync", str(x + w // 2), str(row_top + ROW_HEIGHT * 3 // 2))
        xdotool("click", "1")
        self.assertTrue(self.wait_for_text("曰"), self.text())

    def first_row_top(self, shot, box):
        """The top edge of the highlighted first row: the first line of selection colour."""
        x, y, w, h = box
        for line in range(y, y + h):
            if colour_counts(shot, (x, line, w, 1), [SELECTION])[SELECTION] > w // 2:
                return line
        self.fail("no highlighted row in the panel")
        return y

    def test_3_a_click_on_an_onscreen_key_types_it(self):
        self.clear()
        self.keys("c", "q", "k", "e", "y", "space")
        shown = self.wait_for_panels(2)
        self.assertEqual(len(shown), 2, shown)
        kx, ky, kw, kh = shown[-1]
        # The key a sits on the home row, first from the left.
        xdotool("mousemove", "--sync", str(kx + KEY_A[0] * kw // 720), str(ky + KEY_A[1] * kh // 350))
        xdotool("click", "1")
        time.sleep(0.3)
        self.keys("space", "1")
        self.assertTrue(self.wait_for_text("日"), self.text() + self.desktop.engine_log())


# Measured on the panels as drawn at the default size and font.
ROW_HEIGHT = 34
KEY_A = (87, 175)

if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
