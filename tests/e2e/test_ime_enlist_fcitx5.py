# SPDX-License-Identifier: MIT
"""ime-enlist on a private fcitx5, run as a user runs it: the built bundle registered into the
user's data folder, enabled in the group, selected for the focused field (or for the next one) and
typed into; a second run that changes nothing; a moved bundle; fcitx5 gone; a session where IBus
runs too, decided by the session's variables; and ./run on fcitx5 until Ctrl+C."""

import os
import selectors
import shutil
import signal
import subprocess
import time
import unittest

from gi.repository import GLib

from kvdesktop import BUNDLE, TESTS_DIR as TESTS, pump
from kvfcitx import FCITX_NAME, PrivateFcitx

BUILD = os.path.dirname(os.path.abspath(BUNDLE))
IME_ENLIST = os.environ.get("KV_IME_ENLIST",
                            os.path.join(BUILD, "tools", "ime-enlist", "ime-enlist"))
IDENTIFIER = "org.cqinputkv.inputmethod.CQInputKV"
CONTENTS = os.path.join(os.path.abspath(BUNDLE), "Contents")


def enlist(*arguments, **environment):
    """Runs ime-enlist in the session's environment, with `environment` added (None removes)."""
    env = {k: v for k, v in dict(os.environ, **environment).items() if v is not None}
    # In a sanitizer build, the leak checker's list of suppressed leaks stays out of stderr.
    if "LSAN_OPTIONS" in env:
        env["LSAN_OPTIONS"] += ":print_suppressions=0"
    process = subprocess.Popen([IME_ENLIST, *arguments], stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True, env=env)
    # The test's own clients keep hearing fcitx5 meanwhile.
    pump(lambda: process.poll() is not None, timeout=60)
    out, err = process.communicate(timeout=5)
    return process.returncode, out, err


def installed(kind):
    return os.path.join(os.environ["XDG_DATA_HOME"], "fcitx5", kind, "cqinputkv.conf")


def group(desktop):
    return desktop.controller("InputMethodGroupInfo", GLib.Variant("(s)", ("Default",)),
                              "(sa(ss))")


def fcitx_owner(desktop):
    return bus_call(desktop, "GetNameOwner", "(s)")


def fcitx_pid(desktop):
    """The process of the fcitx5 running now, the test's own or the one it restarted into."""
    return bus_call(desktop, "GetConnectionUnixProcessID", "(u)")


def bus_call(desktop, method, reply_type):
    return desktop.connection.call_sync(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", method,
        GLib.Variant("(s)", (FCITX_NAME,)), GLib.VariantType(reply_type), 0, 3000,
        None).unpack()[0]


def available(desktop):
    return [m[0] for m in desktop.controller("AvailableInputMethods", reply_type="(a(ssssssb))")[0]]


def output_until(process, text, timeout=30):
    """What the process wrote until `text` appeared, it ended, or the time ran out."""
    said = b""
    deadline = time.monotonic() + timeout
    with selectors.DefaultSelector() as selector:
        selector.register(process.stdout, selectors.EVENT_READ)
        while text.encode() not in said and time.monotonic() < deadline:
            if selector.select(timeout=0.1):
                chunk = os.read(process.stdout.fileno(), 4096)
                if not chunk:
                    break
                said += chunk
    return said.decode(errors="replace")


class OnFcitx(unittest.TestCase):
    """One private fcitx5 for each test: one class a process, as the process's session bus
    connection cannot follow a second bus."""

    def setUp(self):
        self.desktop = PrivateFcitx()
        self.desktop.__enter__()
        self.addCleanup(self.desktop.__exit__, None, None, None)


class Registering(OnFcitx):
    def test_registers_into_the_users_folder_and_a_second_run_changes_nothing(self):
        desktop = self.desktop
        # fcitx5's IBus frontend answers at IBus's address: no daemon for the variables to choose.
        status, out, err = enlist(BUNDLE, GTK_IM_MODULE="ibus", XMODIFIERS="@im=ibus")
        self.assertEqual((status, out), (0, "registered and enabled: " + IDENTIFIER + "\n"), err)
        self.assertIn("source=cqinputkv mode=(none) type=fcitx5-input-method selectable=", err)
        with open(installed("addon"), encoding="utf-8") as f:
            self.assertIn("\nLibrary=" + os.path.join(CONTENTS, "PlugIns", "cqinputkv-fcitx5")
                          + "\n", f.read())
        with open(installed("inputmethod"), encoding="utf-8") as f:
            self.assertIn("\nIcon=" + os.path.join(CONTENTS, "Resources", "cqinputkv.svg")
                          + "\n", f.read())
        self.assertIn("cqinputkv", available(desktop))
        self.assertEqual(group(desktop), ("us", [("keyboard-us", ""), ("cqinputkv", "")]))

        # Again: the same files, the same group, the same fcitx5 (no restart).
        owner = fcitx_owner(desktop)
        written = [os.stat(installed(kind)).st_mtime_ns for kind in ("addon", "inputmethod")]
        self.assertEqual(enlist(BUNDLE)[0], 0)
        self.assertEqual([os.stat(installed(kind)).st_mtime_ns
                          for kind in ("addon", "inputmethod")], written)
        self.assertEqual(group(desktop), ("us", [("keyboard-us", ""), ("cqinputkv", "")]))
        self.assertEqual(fcitx_owner(desktop), owner)

        # The bundle moved: fcitx5 knows the addon by its old library and starts again.
        moved = shutil.copytree(BUNDLE, os.path.join(desktop.folder, "Moved.app"), symlinks=True)
        status, _, err = enlist(moved)
        self.assertEqual(status, 0, err)
        with open(installed("addon"), encoding="utf-8") as f:
            self.assertIn("\nLibrary=" + os.path.join(moved, "Contents", "PlugIns"), f.read())
        self.assertNotEqual(fcitx_owner(desktop), owner)
        self.assertIn("cqinputkv", available(desktop))

        # fcitx5 gone, nothing else answering: status 3, and the bus does not start a second
        # fcitx5 for the run (it could: fcitx5 installs a D-Bus service file).
        os.kill(fcitx_pid(desktop), signal.SIGTERM)
        self.assertTrue(pump(lambda: not desktop.name_has_owner(FCITX_NAME), timeout=10))
        status, out, err = enlist(BUNDLE, "--select")
        self.assertEqual((status, out, err), (3, "", "TISRegisterInputSource failed: 107\n"))
        self.assertFalse(pump(lambda: desktop.name_has_owner(FCITX_NAME), timeout=1))


class Selecting(OnFcitx):
    def test_select_makes_it_current_for_the_focused_field_which_then_types(self):
        desktop = self.desktop
        client = desktop.client()
        self.addCleanup(client.destroy)
        client.focus_in()
        status, out, err = enlist(BUNDLE, "--select")
        self.assertEqual((status, out),
                         (0, "registered and enabled and selected: " + IDENTIFIER + "\n"), err)
        self.assertTrue(err.endswith("current=cqinputkv\n"), err)
        self.assertEqual(desktop.current_input_method(), "cqinputkv")
        # Space lists the candidates, 1 chooses the first.
        client.type(["a", "space", "1"])
        self.assertTrue(client.wait_for(lambda: client.commits == ["日"]), desktop.fcitx_log())

        # No field at all: the one turned on next gets it, as Ctrl+Space would.
        client.destroy()
        desktop.controller("SetCurrentIM", GLib.Variant("(s)", ("keyboard-us",)))
        status, out, err = enlist(BUNDLE, "--select")
        self.assertEqual(status, 0, err)
        field = desktop.client()
        self.addCleanup(field.destroy)
        field.focus_in()
        desktop.controller("Activate")
        self.assertTrue(pump(lambda: desktop.current_input_method() == "cqinputkv", timeout=3))


class BesideIBus(OnFcitx):
    """fcitx5 and an ibus-daemon on one session bus: the session's variables choose."""

    def setUp(self):
        super().setUp()
        socket = os.path.join(self.desktop.folder, "ibus.sock")
        self.ibus = "unix:path=" + socket
        # Its own address, or it takes fcitx5's IBus frontend for a daemon already running.
        self.daemon = self.desktop.spawn(
            ["ibus-daemon", "--panel=disable", "--emoji-extension=disable", "--config=disable",
             "--cache=none", "--address=" + self.ibus],
            env=dict(os.environ, IBUS_ADDRESS=self.ibus), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        self.assertTrue(pump(lambda: os.path.exists(socket), timeout=10))

    def framework_of(self, **variables):
        status, _, err = enlist(BUNDLE, IBUS_ADDRESS=self.ibus, **variables)
        return status, err.split(" type=")[1].split(" ")[0] if " type=" in err else err

    def test_the_session_variables_decide_else_fcitx5(self):
        component = os.path.join(self.desktop.component_dir, "CQInputKV.xml")
        self.assertEqual(self.framework_of(GTK_IM_MODULE="ibus", XMODIFIERS="@im=fcitx"),
                         (0, "ibus-engine"))
        self.assertTrue(os.path.exists(component))
        self.assertFalse(os.path.exists(installed("addon")))
        self.assertEqual(self.framework_of(XMODIFIERS="@im=fcitx"), (0, "fcitx5-input-method"))
        self.assertEqual(self.framework_of(), (0, "fcitx5-input-method"))
        self.assertIsNone(self.daemon.poll())


class TheRunScript(OnFcitx):
    """./run with fcitx5 running, from a copy of the repository's script whose install and build
    steps do nothing and whose build folder is the tested one."""

    def setUp(self):
        self.desktop = PrivateFcitx(input_methods=("keyboard-us", "keyboard-de"))
        self.desktop.__enter__()
        self.addCleanup(self.desktop.__exit__, None, None, None)

    def test_starts_on_fcitx5_and_ctrl_c_brings_the_previous_input_method_back(self):
        desktop = self.desktop
        root = os.path.join(desktop.folder, "checkout")
        os.makedirs(os.path.join(root, ".ci"))
        os.makedirs(os.path.join(root, "build", "tools", "ime-enlist"))
        shutil.copy(os.path.join(TESTS, "..", "..", "run"), root)
        with open(os.path.join(root, ".ci", "lib.sh"), "w", encoding="utf-8") as f:
            f.write("kv_install_packages() { :; }\nkv_build() { :; }\n")
        os.symlink(os.path.abspath(BUNDLE), os.path.join(root, "build", "CQInputKV.app"))
        os.symlink(IME_ENLIST, os.path.join(root, "build", "tools", "ime-enlist", "ime-enlist"))

        # The terminal the user runs it from is the focused field, on a layout of their own.
        client = desktop.client()
        self.addCleanup(client.destroy)
        client.focus_in()
        self.assertTrue(desktop.select_input_method("keyboard-de"))
        before = group(desktop)
        run = subprocess.Popen([os.path.join(root, "run")], stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, start_new_session=True)
        self.addCleanup(run.stdout.close)
        self.addCleanup(lambda: run.poll() is None and (run.kill(), run.wait()))
        said = output_until(run, "Ctrl+C ends it.")
        self.assertIn("CQInputKV is the current input method on fcitx5 (was: keyboard-de)", said)
        self.assertEqual(desktop.current_input_method(), "cqinputkv")
        # Space lists the candidates, 1 chooses the first.
        client.type(["a", "space", "1"])
        self.assertTrue(client.wait_for(lambda: client.commits == ["日"]), desktop.fcitx_log())

        # Ctrl+C in the terminal reaches the whole foreground group.
        os.killpg(run.pid, signal.SIGINT)
        self.assertEqual(run.wait(timeout=20), 0)
        # Nothing of the run is left waiting (background commands of a script ignore SIGINT).
        self.assertTrue(pump(lambda: subprocess.run(["pgrep", "-s", str(run.pid)],
                                                    capture_output=True, check=False).returncode,
                             timeout=3))
        self.assertEqual(desktop.current_input_method(), "keyboard-de")
        self.assertEqual(group(desktop), before)
        self.assertFalse(os.path.exists(installed("addon")))
        self.assertFalse(os.path.exists(installed("inputmethod")))


if __name__ == "__main__":
    unittest.main()
