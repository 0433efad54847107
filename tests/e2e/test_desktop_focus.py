# SPDX-License-Identifier: MIT
"""The input method on a person's desktop: a window manager, real GTK 3 applications clicked
into and switched between, focus moved to nothing, applications closed, and the desktop at
scale 2. Where the program's windows are is read from the screen."""

import sys
import time
import unittest

from kvdesktop import (DesktopCase, keys, program_windows, pump, windows_when, write_settings,
                       xdotool)

# The toolbar alone is a strip this high; the list is far taller.
TOOLBAR_HEIGHT = 48


def inside(window, box, margin=0):
    """Whether the top-left corner of `window` lies in `box` (x, y, width, height)."""
    x, y, w, h = box
    return x - margin <= window[0] < x + w + margin and y - margin <= window[1] < y + h + margin


class FocusOnADesktop(DesktopCase):
    """Two applications and a window manager; the toolbar follows the caret (mode 1), so where
    it is shows which field the program thinks has focus."""

    @classmethod
    def setUpClass(cls):
        cls.open_desktop(window_manager=True)
        write_settings("[Integer]\nToolbarFollowMode=1\n")
        cls.one = cls.desktop.text_app("app-one", (100, 100))
        cls.two = cls.desktop.text_app("app-two", (100, 450))
        cls.one.click()
        cls.select_engine()

    def toolbar_at(self, app):
        """Waits for the toolbar alone just below the first line of `app`'s text."""
        x, y, w, _ = app.geometry()
        below_first_line = (x - 5, y, w, 80)
        return windows_when(lambda found: len(found) == 1 and found[0][3] <= TOOLBAR_HEIGHT
                            and inside(found[0], below_first_line))

    def test_1_a_click_in_the_text_ends_the_composition(self):
        self.one.click()
        keys("a", "space", "2")
        self.assertTrue(self.one.wait_for_text("曰"), self.one.text())
        keys("a", "b", "space")
        found = windows_when(lambda found: found and found[-1][3] > 200)
        self.assertTrue(found and found[-1][3] > 200, found)
        # A click before the committed character: GTK resets the context. The code, its list
        # and the marked text are gone; nothing was inserted; the toolbar stays.
        self.one.click(3, 8)
        found = self.toolbar_at(self.one)
        self.assertTrue(len(found) == 1 and found[0][3] <= TOOLBAR_HEIGHT, found)
        self.assertEqual(self.one.text(), "曰")
        # The next code starts afresh at the new place.
        keys("a", "space", "2")
        self.assertTrue(self.one.wait_for_text("曰曰"), self.one.text())

    def test_2_focus_moves_between_applications_and_to_nothing(self):
        self.two.click()
        found = self.toolbar_at(self.two)
        self.assertTrue(len(found) == 1 and inside(found[0], self.two.geometry()), found)
        # A click on the empty desktop: no field has focus, IBus focuses its own context, and
        # nothing of the program stays on screen.
        xdotool("mousemove", "--sync", "1200", "780")
        xdotool("click", "1")
        windows_when(lambda found: not found)
        time.sleep(0.5)  # and it stays away
        self.assertEqual(program_windows(), [])
        self.one.click()
        found = self.toolbar_at(self.one)
        self.assertTrue(found and inside(found[0], self.one.geometry()), found)
        # Typed there, the text goes to the field with focus only.
        keys("a", "space", "2")
        self.assertTrue(pump(lambda: self.one.text().endswith("曰"), 5))
        self.assertEqual(self.two.text(), "")

    def test_3_a_closed_application_takes_its_windows_along(self):
        three = self.desktop.text_app("app-three", (700, 250))
        three.click()
        keys("a", "b", "space")
        box = three.geometry()
        found = windows_when(lambda found: found and found[-1][3] > 200)
        self.assertTrue(found and inside(found[-1], box), (found, box))
        three.close()
        # Nothing of the program is left where the application was; whatever is shown is the
        # toolbar of a field that has focus now.
        fields = [self.one.geometry(), self.two.geometry()]
        self.assertTrue(pump(lambda: all(w[3] <= TOOLBAR_HEIGHT
                                         and any(inside(w, f) for f in fields)
                                         for w in program_windows()), 5),
                        (program_windows(), box))


class PlacedAtScale1(DesktopCase):
    """IBus's GTK 3 module reports the caret in device pixels; the list lands below the caret
    on screen whatever GDK's scale. One desktop per class: libibus follows one daemon per
    process."""

    SCALE = 1

    def test_the_list_lands_below_the_caret(self):
        scale = self.SCALE
        self.open_desktop(window_manager=True, width=1600, height=1600,
                          environment={"GDK_SCALE": str(scale)})
        app = self.desktop.text_app("app-scaled", (150, 120))
        app.click()
        self.select_engine()
        keys("a", "b", "space")
        found = windows_when(lambda found: found and found[-1][3] > 200 * scale, 5)
        self.assertTrue(found and found[-1][3] > 200 * scale, found)
        x, y, _, _ = found[-1]
        app_x, app_y, _, _ = app.geometry()
        # The caret after the two-character reading is near the window's top-left corner;
        # the list's top is a line and a gap below it, its left edge at the reading's end.
        self.assertLess(abs(x - app_x), 40 * scale, (x, y, app_x, app_y))
        self.assertGreater(y, app_y)
        self.assertLess(y, app_y + 40 * scale, (x, y, app_x, app_y))


class PlacedAtScale2(PlacedAtScale1):
    SCALE = 2


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
