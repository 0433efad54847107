# SPDX-License-Identifier: MIT
"""ime-enlist on a private IBus daemon that runs the desktop's IBus panel, as a session does: the
built bundle registered, enabled, selected and typed into; the failures a user meets; and the
Debian package's files doing the same from a temporary root."""

import os
import shutil
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ET

import gi

from kvdesktop import BUNDLE, PrivateDesktop, pump, read_text
from kvpackage import PACKAGED_BUNDLE, build_package

gi.require_version("Gio", "2.0")
from gi.repository import Gio  # noqa: E402

BUILD = os.path.dirname(os.path.abspath(BUNDLE))
IME_ENLIST = os.environ.get("KV_IME_ENLIST",
                            os.path.join(BUILD, "tools", "ime-enlist", "ime-enlist"))
IDENTIFIER = "org.cqinputkv.inputmethod.CQInputKV"
USAGE = "usage: ime-enlist <input-method.app> [--select]\n"
PANEL = "/usr/libexec/ibus-ui-gtk3"
PANEL_NAME = "org.freedesktop.IBus.Panel"
LAYOUT = "xkb:us::eng"
JOURNAL = os.path.exists("/run/systemd/journal/socket")


class DesktopWithPanel(PrivateDesktop):
    """The private desktop with the IBus panel, which the daemon starts again after each restart
    and which then selects the first of the user's input methods on its own. The panel and
    ime-enlist share the user's IBus settings through a settings file."""

    def __init__(self):
        # The engine logs where a user finds it, as it does when nothing names a log file.
        super().__init__(environment={"GSETTINGS_BACKEND": "keyfile", "CQINPUTKV_LOG": ""},
                         panel=PANEL)

    @property
    def state_log(self):
        return os.path.join(self.folder, "home", ".local", "state", "CQ_Input_KV",
                            "CQInputKV.log")

    def engine_log(self):
        if JOURNAL:
            return subprocess.run(["journalctl", "-t", "CQInputKV", "-n", "20", "-o", "cat"],
                                  capture_output=True, text=True, check=False).stdout
        return read_text(self.state_log)

    def _start_ibus(self):
        super()._start_ibus()
        if not pump(lambda: self._bus.name_has_owner(PANEL_NAME), timeout=20):
            raise RuntimeError("the IBus panel did not start")

# One desktop for the module: the process's IBus bus is one object for its whole life, which does
# not follow a later desktop's daemon. Every test registers the bundle it needs itself.
desktop = None


def setUpModule():
    global desktop
    desktop = DesktopWithPanel()
    desktop.__enter__()
    unittest.addModuleCleanup(desktop.__exit__, None, None, None)
    # The user's input methods before ime-enlist: the keyboard layout alone.
    settings = Gio.Settings.new("org.freedesktop.ibus.general")
    settings.set_strv("preload-engines", [LAYOUT])
    Gio.Settings.sync()


def quiet_sanitizer(environment=None):
    """The environment for a run of the tool; in a sanitizer build, the leak checker's list of
    suppressed leaks stays out of the messages under test."""
    environment = dict(os.environ if environment is None else environment)
    if "LSAN_OPTIONS" in environment:
        environment["LSAN_OPTIONS"] += ":print_suppressions=0"
    return environment


def enlist(*arguments, program=IME_ENLIST, environment=None, restarts=None):
    """Runs ime-enlist; meanwhile this process's bus follows the daemon through its restart, which
    it does only while its main context runs. `restarts`, a list, gets one entry per restart."""
    bus = desktop.bus()
    events = []
    handlers = [bus.connect("disconnected", lambda *_: events.append("left")),
                bus.connect("connected", lambda *_: events.append("back"))]
    process = subprocess.Popen([program, *arguments], stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True,
                               env=quiet_sanitizer(environment))
    pump(lambda: process.poll() is not None, timeout=60)
    out, err = process.communicate(timeout=5)
    pump(lambda: bus.is_connected() and (not events or events[-1] == "back"), timeout=10)
    for handler in handlers:
        bus.disconnect(handler)
    if restarts is not None:
        restarts.extend(e for e in events if e == "left")
    return process.returncode, out, err


def global_engine():
    try:
        return desktop.bus().get_global_engine().get_name()
    except Exception:  # pylint: disable=broad-except  # no engine selected yet
        return None


def stays_global(name, seconds=3.0):
    """Whether `name` is the global engine and stays so while the desktop settles."""
    return not pump(lambda: global_engine() != name, timeout=seconds)


def typed_through_engine():
    """Whether keys typed into a focused input context reach the input method."""
    client = desktop.client()
    client.focus_in()
    client.type("a")
    composed = client.wait_for_preedit("日")
    client.type("{space}1")
    committed = client.wait_for_commit("日")
    client.destroy()
    return composed and committed


def engine_known(name="cqinputkv"):
    return [e.get_name() for e in desktop.bus().get_engines_by_names([name])] == [name]


def copy_bundle(destination, component_name=None, engine_name=None, executable=True):
    """A copy of the built bundle, its component renamed or its program left out."""
    shutil.copytree(BUNDLE, destination, symlinks=True)
    description = os.path.join(destination, "Contents", "Resources", "CQInputKV.xml")
    tree = ET.parse(description)
    if component_name:
        tree.getroot().find("name").text = component_name
    if engine_name:
        tree.getroot().find("engines/engine/name").text = engine_name
    tree.write(description, encoding="utf-8", xml_declaration=True)
    if not executable:
        os.remove(os.path.join(destination, "Contents", "MacOS", "CQInputKV"))
    return destination


class Usage(unittest.TestCase):
    def test_wrong_argument_counts(self):
        for arguments in ([], [BUNDLE, "--select", "more"]):
            run = subprocess.run([IME_ENLIST, *arguments], capture_output=True, text=True,
                                 env=quiet_sanitizer(), check=False)
            self.assertEqual((run.returncode, run.stdout, run.stderr), (2, "", USAGE))


class OnAPrivateDaemon(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="kv-enlist-")
        self.addCleanup(shutil.rmtree, self.folder, True)


    def test_registers_enables_and_selects_the_built_bundle_which_then_types(self):
        status, out, err = enlist(BUNDLE)
        self.assertEqual((status, out), (0, "registered and enabled: " + IDENTIFIER + "\n"), err)
        self.assertTrue(err.startswith("source=cqinputkv mode=(none) type=ibus-engine "
                                       "selectable=yes\n"), err)
        self.assertTrue(engine_known())

        status, out, err = enlist(BUNDLE, "--select")
        self.assertEqual((status, out),
                         (0, "registered and enabled and selected: " + IDENTIFIER + "\n"), err)
        self.assertTrue(err.endswith("current=cqinputkv\n"), err)
        self.assertEqual(desktop.bus().get_global_engine().get_name(), "cqinputkv")
        # The daemon started the engine from the installed description, by its absolute path.
        self.assertTrue(typed_through_engine(), desktop.engine_log())

        # A restarted daemon reads the description again.
        self.assertTrue(desktop.restart_daemon(timeout=20))
        self.assertTrue(pump(engine_known, timeout=5))

    def test_bundles_that_provide_no_usable_source(self):
        other = copy_bundle(os.path.join(self.folder, "Other.app"),
                            component_name="org.example.inputmethod.Other", engine_name="other")
        status, out, err = enlist(other, "--select")
        self.assertEqual((status, out, err), (5, "", "registered, but input source was not found\n"))
        self.assertTrue(engine_known("other"))

        # Listed, but the daemon has no program to start.
        hollow = copy_bundle(os.path.join(self.folder, "Hollow.app"), executable=False)
        status, out, err = enlist(hollow, "--select")
        self.assertEqual((status, out), (6, ""))
        self.assertEqual(err, "source=cqinputkv mode=(none) type=ibus-engine selectable=no\n"
                              "input source is enabled but could not be selected\n"
                              "the desktop cannot start the input method's program: check that "
                              "the bundle is complete, then run ime-enlist again\n")

    def test_a_component_folder_that_cannot_be_written(self):
        # Below a regular file: not even root can make it.
        plain = os.path.join(self.folder, "plain")
        with open(plain, "w", encoding="utf-8") as f:
            f.write("a file\n")
        environment = dict(os.environ,
                           IBUS_COMPONENT_PATH=plain + "/components:/usr/share/ibus/component")
        status, out, err = enlist(BUNDLE, "--select", environment=environment)
        self.assertEqual((status, out, err), (3, "", "TISRegisterInputSource failed: 20\n"))

        # A FIFO where the description goes is replaced, never opened (that would block).
        component = os.path.join(desktop.component_dir, "CQInputKV.xml")
        if os.path.exists(component):
            os.unlink(component)
        os.mkfifo(component)
        status, out, err = enlist(BUNDLE)
        self.assertEqual((status, out), (0, "registered and enabled: " + IDENTIFIER + "\n"), err)
        self.assertTrue(os.path.isfile(component))


class SelectingOnADesktop(unittest.TestCase):
    def test_select_holds_against_the_panel_focused_or_not_and_a_second_run_restarts_nothing(self):
        # Unregistered: the run writes the description and restarts the daemon, whose panel
        # comes back and selects the first input method of the user's list on its own.
        desktop.bus().set_global_engine(LAYOUT)
        status, out, err = enlist(BUNDLE, "--select")
        self.assertEqual((status, out),
                         (0, "registered and enabled and selected: " + IDENTIFIER + "\n"), err)
        self.assertTrue(pump(lambda: desktop.bus().name_has_owner(PANEL_NAME), timeout=10))
        self.assertTrue(stays_global("cqinputkv"), global_engine())

        # Registered already: no restart (it would break running XIM clients), and a field that
        # has focus is switched from the layout to the input method and types.
        client = desktop.client()
        client.focus_in()
        self.addCleanup(client.destroy)
        desktop.bus().set_global_engine(LAYOUT)
        restarts = []
        status, out, err = enlist(BUNDLE, "--select", restarts=restarts)
        self.assertEqual((status, out, restarts),
                         (0, "registered and enabled and selected: " + IDENTIFIER + "\n", []),
                         err)
        self.assertTrue(stays_global("cqinputkv"), global_engine())
        client.type("a")
        self.assertTrue(client.wait_for_preedit("日"), desktop.engine_log())
        # The daemon sent the engine's standard error nowhere; its log is where the user looks.
        self.assertIn("ready\n", desktop.engine_log())

        # Once more with the field gone: selection holds on the daemon's own context too.
        client.focus_out()
        desktop.bus().set_global_engine(LAYOUT)
        status, out, err = enlist(BUNDLE, "--select", restarts=restarts)
        self.assertEqual((status, restarts), (0, []), err)
        self.assertTrue(stays_global("cqinputkv"), global_engine())


class DebianPackage(unittest.TestCase):
    """The package's files unpacked into a temporary root register and type there as installed
    (its install and removal, lintian and the fcitx5 half: test_debian_package)."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="kv-deb-")
        cls.package, cls.root = build_package(cls.folder)
        cls.app = cls.root + PACKAGED_BUNDLE

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_the_packaged_files_register_and_type_from_a_temporary_root(self):
        # cqkv finds the table through the shared folder.
        lookup = subprocess.run([os.path.join(self.root, "usr", "bin", "cqkv"), "lookup", "a"],
                                capture_output=True, text=True, check=False)
        self.assertEqual((lookup.returncode, lookup.stdout.split("\n")[0]), (0, "日"),
                         lookup.stderr)

        status, out, err = enlist(self.app, "--select",
                                  program=os.path.join(self.root, "usr", "bin", "ime-enlist"))
        self.assertEqual((status, out),
                         (0, "registered and enabled and selected: " + IDENTIFIER + "\n"), err)
        self.assertTrue(typed_through_engine(), desktop.engine_log())


if __name__ == "__main__":
    unittest.main()
