# SPDX-License-Identifier: MIT
"""The engine's life beside a desktop, seen from IBus clients: a second engine process, and the
end of the process with sessions open. One desktop per class: libibus follows one daemon per
process."""

import os
import shlex
import signal
import subprocess
import unittest
import xml.etree.ElementTree as ET

from kvdesktop import Client, PrivateDesktop, install_component, pump

BUNDLE = os.environ.get("KV_BUNDLE", os.path.join(os.getcwd(), "CQInputKV.app"))
EXECUTABLE = os.path.join(BUNDLE, "Contents", "MacOS", "CQInputKV")


class ASecondEngineProcess(unittest.TestCase):
    def test_without_the_components_name_it_says_so_and_exits_1(self):
        with PrivateDesktop(bundles=[BUNDLE]) as desktop:
            c = desktop.client()
            c.focus_in()
            self.assertTrue(desktop.select_engine(), desktop.engine_log())
            second = desktop.spawn([EXECUTABLE, "--ibus"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
            self.assertEqual(second.wait(timeout=30), 1, desktop.engine_log())
            self.assertIn("another process already serves", desktop.engine_log())
            # The first process still types.
            c.type("a")
            self.assertTrue(c.wait_for_preedit("日"), desktop.engine_log())


class EndingWithSessionsOpen(unittest.TestCase):
    """Logging out or restarting the daemon ends the engine while sessions are open in several
    applications: they close before the process's services go, and the process ends cleanly
    (under the sanitizer build, without a report)."""

    FAULTS = ("AddressSanitizer", "free(): invalid", "double free", "corrupted",
              "Segmentation", "runtime error")

    @classmethod
    def setUpClass(cls):
        cls.desktop = PrivateDesktop()
        cls.desktop.__enter__()
        try:
            # The daemon sends a started engine's output nowhere: this one's goes to a file.
            cls.errors = os.path.join(cls.desktop.folder, "engine-errors.txt")
            component = install_component(BUNDLE, cls.desktop.component_dir)
            tree = ET.parse(component)
            tree.getroot().find("exec").text = " ".join(shlex.quote(word) for word in (
                "/bin/sh", "-c", 'exec "$0" --ibus 2>>"$1"', EXECUTABLE, cls.errors))
            tree.write(component, encoding="utf-8", xml_declaration=True)
            # Leaks at exit belong to the toolkits; what is checked is the heap's integrity.
            os.environ["ASAN_OPTIONS"] = "detect_leaks=0"
            if not cls.desktop.restart_daemon():
                raise RuntimeError("the daemon did not come back")
        except BaseException:
            cls.desktop.__exit__(None, None, None)
            raise

    @classmethod
    def tearDownClass(cls):
        cls.desktop.__exit__(None, None, None)

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
        for fault in self.FAULTS:
            self.assertNotIn(fault, errors)

    def test_1_the_daemon_restarts(self):
        self.open_sessions()
        engines = lambda: subprocess.run(["pgrep", "-f", EXECUTABLE + " --ibus"],
                                         capture_output=True, text=True).stdout.split()
        self.assertTrue(engines())
        # The daemon ends the engines it started and comes back without them.
        self.assertTrue(self.desktop.restart_daemon())
        self.assertTrue(pump(lambda: not engines(), timeout=20), engines())
        with open(self.errors, encoding="utf-8", errors="replace") as f:
            self.assert_no_fault(f.read())

    def test_2_the_session_ends(self):
        started = self.desktop.engine_log().count("ready")
        program = self.desktop.spawn([EXECUTABLE], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE, text=True)
        self.assertTrue(pump(lambda: self.desktop.engine_log().count("ready") > started,
                             timeout=20))
        clients = self.open_sessions()
        program.send_signal(signal.SIGTERM)
        try:
            _, errors = program.communicate(timeout=30)
        except subprocess.TimeoutExpired:
            program.kill()
            _, errors = program.communicate()
            self.fail("the engine did not end: " + errors)
        self.assertEqual(program.returncode, 0, errors)
        self.assert_no_fault(errors)
        for c in clients:
            c.destroy()


if __name__ == "__main__":
    unittest.main()
