# SPDX-License-Identifier: MIT
"""The engine's life beside a desktop, seen from IBus clients: fields that go away, IBus's own
context while no field has focus, carets that come late or are as tall as a view, a second
engine process, and the end of the process with sessions open. One desktop per class: libibus
follows one daemon per process."""

import os
import shlex
import signal
import subprocess
import unittest

from kvdesktop import (BUNDLE, Client, DesktopCase, IBus, PrivateDesktop, install_component,
                       program_windows, properties_of, pump, read_text, windows_when,
                       write_settings, xdotool)

EXECUTABLE = os.path.join(BUNDLE, "Contents", "MacOS", "CQInputKV")


class CaretsAndFields(DesktopCase):
    """The toolbar follows the caret (mode 1), so where it is shows what the program took for
    the caret of the focused field."""

    @classmethod
    def setUpClass(cls):
        cls.open_desktop()
        write_settings("[Integer]\nToolbarFollowMode=1\n")
        # The test plays the desktop's panel, which shows the input menu while no field has
        # focus and hands its clicks to the engine.
        cls.panel = IBus.PanelService.new(cls.desktop.bus().get_connection())
        cls.panel_properties = {}

        def registered(_panel, props):
            cls.panel_properties = {p.get_key(): p for p in properties_of(props)}
            return True

        cls.panel.connect("register-properties", registered)
        cls.desktop.bus().request_name(IBus.SERVICE_PANEL, 0)

    def field(self, caret=None):
        return self.focused_client(caret, settle=0.3)

    def test_0_chosen_with_no_field_focused_it_shows_nothing(self):
        # The engine starts on IBus's own context, as when chosen from the desktop's menu.
        self.assertTrue(self.desktop.select_engine(), self.desktop.engine_log())
        pump(timeout=0.5)
        self.assertEqual(program_windows(), [])
        self.assertTrue(pump(lambda: "menu" in self.panel_properties), self.desktop.engine_log())

    def test_1_a_field_that_goes_away_takes_the_toolbar_along(self):
        c = self.field((300, 300))
        found = windows_when(lambda found: len(found) == 1)
        self.assertEqual(len(found), 1, found)
        self.assertLess(abs(found[0][0] - 300), 5, found)
        # The client goes: IBus focuses its own context, which is no text field.
        c.destroy()
        windows_when(lambda found: not found)
        pump(timeout=0.5)  # and it stays away
        self.assertEqual(program_windows(), [])
        # The input menu still works from the desktop's panel.
        self.assertTrue(pump(lambda: "menu" in self.panel_properties), self.desktop.engine_log())
        self.panel.property_activate("menu.2", IBus.PropState.CHECKED)
        self.assertTrue(pump(lambda: program_windows("設定"), timeout=5),
                        self.desktop.engine_log())
        xdotool("search", "--name", "設定", "windowunmap")

    def test_2_the_toolbar_waits_for_the_caret(self):
        # GTK focuses first and tells the caret after: until then nothing shows.
        c = self.field()
        pump(timeout=0.5)
        self.assertEqual(program_windows(), [])
        c.cursor_at(400, 200)
        found = windows_when(lambda found: found and found[0][0] == 400)
        self.assertEqual([f[:2] for f in found], [(400, 200 + 18 + 4)])
        # The caret moves: the toolbar follows it; a list goes beside it as well.
        c.cursor_at(500, 250)
        found = windows_when(lambda found: found and found[0][:2] == (500, 272))
        self.assertEqual(found[0][:2], (500, 272), found)
        c.type("ab{space}")
        found = windows_when(lambda found: found and found[0][3] > 200)
        self.assertEqual(found[0][:2], (500, 272), found)

    def test_3_a_caret_as_tall_as_the_view_anchors_at_its_first_line(self):
        # GTK 4 reports the whole text view; the list goes below its first line, not over it.
        c = self.field((200, 100, 1, 520))
        c.type("ab{space}")
        found = windows_when(lambda found: found and found[-1][3] > 200)
        self.assertTrue(found and found[-1][3] > 200, found)
        x, y, _, _ = found[-1]
        self.assertEqual(x, 200)
        self.assertGreater(y, 100 + 10)
        self.assertLess(y, 100 + 40)

    def test_4_a_second_process_without_the_components_name_says_so_and_exits_1(self):
        c = self.field((300, 300))
        second = self.desktop.spawn([EXECUTABLE, "--ibus"], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        self.assertEqual(second.wait(timeout=30), 1, self.desktop.engine_log())
        self.assertIn("another process already serves", self.desktop.engine_log())
        # The first process still types.
        c.type("a")
        self.assertTrue(c.wait_for_preedit("日"), self.desktop.engine_log())


class EndingWithSessionsOpen(DesktopCase):
    """Logging out or restarting the daemon ends the engine while sessions are open in several
    applications: they close before the process's services go, and the process ends cleanly
    (under the sanitizer build, without a report)."""

    FAULTS = ("AddressSanitizer", "free(): invalid", "double free", "corrupted",
              "Segmentation", "runtime error")

    @classmethod
    def setUpClass(cls):
        cls.open_desktop(PrivateDesktop())
        # The daemon sends a started engine's output nowhere: this one's goes to a file.
        cls.errors = os.path.join(cls.desktop.folder, "engine-errors.txt")
        install_component(BUNDLE, cls.desktop.component_dir, lambda executable: " ".join(
            shlex.quote(word) for word in (
                "/bin/sh", "-c", 'exec "$0" --ibus 2>>"$1"', executable, cls.errors)))
        # Leaks at exit belong to the toolkits; what is checked is the heap's integrity.
        os.environ["ASAN_OPTIONS"] = "detect_leaks=0"
        if not cls.desktop.restart_daemon():
            raise RuntimeError("the daemon did not come back")

    def open_sessions(self):
        clients = []
        for i in range(4):
            c = Client(self.desktop.bus(), name=f"app-{i}")
            clients.append(c)
            c.focus_in()
            c.cursor_at(100 + 50 * i, 100 + 50 * i)
            if i == 0:
                self.assertTrue(self.desktop.select_engine(), self.desktop.engine_log())
            c.type("ab" if i % 2 else "ab{space}")
            self.assertTrue(c.wait_for_preedit("日月"), self.desktop.engine_log())
            if i < 3:
                c.focus_out()
        return clients

    def assert_no_fault(self, errors):
        self.assertEqual([fault for fault in self.FAULTS if fault in errors], [], errors)

    def test_1_the_daemon_restarts(self):
        self.open_sessions()
        engines = lambda: subprocess.run(["pgrep", "-f", EXECUTABLE + " --ibus"],
                                         capture_output=True, text=True).stdout.split()
        self.assertTrue(engines())
        # The daemon ends the engines it started and comes back without them.
        self.assertTrue(self.desktop.restart_daemon())
        self.assertTrue(pump(lambda: not engines(), timeout=20), engines())
        self.assert_no_fault(read_text(self.errors))

    def test_2_the_session_ends(self):
        started = self.desktop.engine_log().count("ready")
        program = self.desktop.spawn([EXECUTABLE], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE, text=True)
        self.assertTrue(pump(lambda: self.desktop.engine_log().count("ready") > started,
                             timeout=20))
        self.sessions = self.open_sessions()  # held open until the program ends
        program.send_signal(signal.SIGTERM)
        _, errors = program.communicate(timeout=30)  # the desktop stops it if it hangs
        self.assertEqual(program.returncode, 0, errors)
        self.assert_no_fault(errors)


if __name__ == "__main__":
    unittest.main()
