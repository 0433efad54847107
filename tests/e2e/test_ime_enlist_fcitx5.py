# SPDX-License-Identifier: MIT
"""ime-enlist on a private fcitx5, run as a user runs it: the built bundle registered into the
user's data folder, enabled in the group, selected for the focused field and typed into; a second
run that changes nothing; fcitx5 gone; and a session where IBus runs too, decided by the session's
variables."""

import os
import shutil
import subprocess
import unittest

from gi.repository import GLib

from kvdesktop import BUNDLE, pump
from kvfcitx import FCITX_NAME, PrivateFcitx

BUILD = os.path.dirname(os.path.abspath(BUNDLE))
IME_ENLIST = os.environ.get("KV_IME_ENLIST",
                            os.path.join(BUILD, "tools", "ime-enlist", "ime-enlist"))
IDENTIFIER = "org.cqinputkv.inputmethod.CQInputKV"
CONTENTS = os.path.join(os.path.abspath(BUNDLE), "Contents")


def enlist(*arguments, **environment):
    """Runs ime-enlist in the session's environment, with `environment` added (None removes)."""
    env = {k: v for k, v in dict(os.environ, **environment).items() if v is not None}
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


def available(desktop):
    return [m[0] for m in desktop.controller("AvailableInputMethods", reply_type="(a(ssssssb))")[0]]


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
        owner = desktop.connection.call_sync(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "GetNameOwner", GLib.Variant("(s)", (FCITX_NAME,)), None, 0, 3000, None).unpack()
        written = [os.stat(installed(kind)).st_mtime_ns for kind in ("addon", "inputmethod")]
        self.assertEqual(enlist(BUNDLE)[0], 0)
        self.assertEqual([os.stat(installed(kind)).st_mtime_ns
                          for kind in ("addon", "inputmethod")], written)
        self.assertEqual(group(desktop), ("us", [("keyboard-us", ""), ("cqinputkv", "")]))
        self.assertEqual(desktop.connection.call_sync(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "GetNameOwner", GLib.Variant("(s)", (FCITX_NAME,)), None, 0, 3000, None).unpack(),
            owner)

        # fcitx5 gone, nothing else answering: status 3, and the bus does not start a second
        # fcitx5 for the run (it could: fcitx5 installs a D-Bus service file).
        desktop.stop_fcitx()
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
        client.type(["a", "space"])
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


if __name__ == "__main__":
    unittest.main()
