# SPDX-License-Identifier: MIT
"""The input method typing into a real GTK3 application (GTK_IM_MODULE=ibus), with keys and
clicks sent through XTEST as a user's would be, and its panels looked at on the screen."""

import os
import sys
import time
import unittest

from kvdesktop import DesktopCase, colour_counts, keys, windows_when, xdotool

# The default theme: panel background and selected row.
BACKGROUND = (11, 20, 34)
SELECTION = (13, 112, 147)
# Measured on the panels as drawn at the default size and font.
ROW_HEIGHT = 34
KEY_A = (87, 175)


class TypingIntoAGtkApplication(DesktopCase):
    @classmethod
    def setUpClass(cls):
        cls.open_desktop()
        cls.app = cls.desktop.text_app()
        xdotool("windowfocus", "--sync", cls.app.window)
        cls.select_engine()

    def setUp(self):
        keys("Escape", "ctrl+a", "BackSpace")

    def panels(self, count):
        return windows_when(lambda found: len(found) == count, timeout=5)

    def test_1_typing_commits_and_the_panel_shows_below_the_caret(self):
        keys("a", "space")
        shown = self.panels(1)
        self.assertEqual(len(shown), 1, self.desktop.engine_log())
        x, y, w, h = shown[0]
        app_x, app_y, _, _ = self.app.geometry()
        # Below the caret of the text view's first line, near its left edge.
        self.assertGreater(y, app_y)
        self.assertLess(y, app_y + 80)
        self.assertLess(abs(x - app_x), 120)
        shot = self.desktop.screenshot(os.path.join(self.desktop.folder, "panel.png"))
        counts = colour_counts(shot, (x, y, w, h), [BACKGROUND, SELECTION])
        self.assertGreater(counts[BACKGROUND], w * h // 4, counts)
        self.assertGreater(counts[SELECTION], 200, counts)
        self.assertEqual(self.app.text(), "")
        keys("2")
        self.assertTrue(self.app.wait_for_text("曰"), self.app.text())
        # After the commit only the toolbar stays beside the caret.
        found = windows_when(lambda found: found and found[0][3] < 60)
        self.assertTrue(found and found[0][3] < 60, found)

    def test_2_a_click_on_a_row_chooses_it(self):
        keys("a", "space")
        x, y, w, h = self.panels(1)[0]
        # Rows run down from the top, under the toolbar, the first highlighted; the second is 曰.
        shot = self.desktop.screenshot(os.path.join(self.desktop.folder, "rows.png"))
        row_top = next((line for line in range(y, y + h) if colour_counts(
            shot, (x, line, w, 1), [SELECTION])[SELECTION] > w // 2), None)
        self.assertIsNotNone(row_top, "no highlighted row in the panel")
        xdotool("mousemove", "--sync", str(x + w // 2), str(row_top + ROW_HEIGHT * 3 // 2))
        xdotool("click", "1")
        self.assertTrue(self.app.wait_for_text("曰"), self.app.text())

    def test_3_a_click_on_an_onscreen_key_types_it(self):
        keys("c", "q", "k", "e", "y", "space")
        shown = self.panels(2)
        self.assertEqual(len(shown), 2, shown)
        kx, ky, kw, kh = shown[-1]
        # The key a sits on the home row, first from the left.
        xdotool("mousemove", "--sync", str(kx + KEY_A[0] * kw // 720),
                str(ky + KEY_A[1] * kh // 350))
        xdotool("click", "1")
        time.sleep(0.3)
        keys("space", "1")
        self.assertTrue(self.app.wait_for_text("日"), self.app.text() + self.desktop.engine_log())


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
