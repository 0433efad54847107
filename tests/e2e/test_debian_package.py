# SPDX-License-Identifier: MIT
"""The Debian package as a maintainer and a user meet it: lintian has nothing to say, the files
are where Debian wants them, dpkg installs and removes the registration with both frameworks,
and a private fcitx5 types through the addon unpacked into a temporary root. (The IBus half,
typing through a private daemon, is test_ime_enlist.DebianPackage.)"""

import gzip
import os
import re
import shutil
import subprocess
import tempfile
import unittest

from kvdesktop import BUNDLE, read_text
from kvfcitx import PrivateFcitx
from kvpackage import PACKAGED_BUNDLE, build_package, control, listing

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
IBUS_DESCRIPTION = "/usr/share/ibus/component/CQInputKV.xml"
FCITX_ADDON = "/usr/share/fcitx5/addon/cqinputkv.conf"
FCITX_METHOD = "/usr/share/fcitx5/inputmethod/cqinputkv.conf"
BUILT_ADDON = os.path.join(BUNDLE, "Contents", "PlugIns", "cqinputkv-fcitx5.so")


def has_addon(root):
    if os.path.exists(root + FCITX_ADDON):
        return True
    if os.path.exists(BUILT_ADDON):
        raise AssertionError("the build has the fcitx5 addon, the package does not")
    return False


def field(text, name):
    found = re.search(rf"^ {name}: (.*)$", text, re.MULTILINE)
    return [item.strip() for item in found.group(1).split(",")] if found else []


class ThePackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="kv-deb-")
        cls.package, cls.root = build_package(cls.folder)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_lintian_and_appstream_find_nothing_to_report(self):
        if not shutil.which("lintian"):
            self.skipTest("lintian is missing")
        run = subprocess.run(["lintian", "--pedantic", "--info", "--fail-on",
                              "error,warning,info,pedantic", self.package],
                             capture_output=True, text=True, check=False)
        self.assertEqual((run.returncode, run.stdout), (0, ""), run.stderr)
        metainfo = (self.root + "/usr/share/metainfo/"
                    "org.cqinputkv.inputmethod.cqinputkv.metainfo.xml")
        run = subprocess.run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo],
                             capture_output=True, text=True, check=False)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        self.assertNotIn("@PROJECT_VERSION@", read_text(metainfo))

    def test_files_where_debian_wants_them_and_the_table_once(self):
        files = listing(self.package)
        tables = [n for n, (mode, _) in files.items() if n.endswith("/CQInput-KV.cin")]
        self.assertEqual(tables, ["./usr/share/cqinputkv/CQInput-KV.cin"])
        # Programs only under bin/ and the bundle; the bundle reaches its resources by a link.
        for name, (mode, _) in files.items():
            if mode.startswith("-"):
                with open(os.path.join(self.root, name), "rb") as f:
                    elf = f.read(4) == b"\x7fELF"
                programs = ("./usr/bin/", f".{PACKAGED_BUNDLE}/Contents/MacOS/",
                            f".{PACKAGED_BUNDLE}/Contents/PlugIns/")
                self.assertEqual(elf, name.startswith(programs), name)
        self.assertEqual(files["." + PACKAGED_BUNDLE + "/Contents/Resources"],
                         ("lrwxrwxrwx", "../../../../share/cqinputkv"))
        self.assertTrue(os.path.isfile(
            self.root + PACKAGED_BUNDLE + "/Contents/Resources/CQInput-KV.cin"))

        information = control(self.package)
        self.assertLessEqual({"ibus | fcitx5", "fonts-noto-cjk", "fonts-hanazono",
                              "fonts-babelstone-han"}, set(field(information, "Recommends")))
        depends = {item.split()[0] for item in field(information, "Depends")}
        self.assertFalse(depends & {"ibus", "fcitx5"}, depends)
        # A new version needs its changelog entry.
        with gzip.open(self.root + "/usr/share/doc/cqinputkv/changelog.gz", "rt") as f:
            self.assertEqual(f.readline().split()[1], "(" + field(information, "Version")[0] + ")")

        # The manual pages say what the README says, compressed without name or time.
        readme = read_text(os.path.join(SOURCE, "README.md"))
        statuses = re.findall(r"^\| (\d+) \|", readme, re.MULTILINE)
        self.assertGreater(len(statuses), 3)
        for page in ("ime-enlist", "cqkv"):
            path = f"{self.root}/usr/share/man/man1/{page}.1.gz"
            with open(path, "rb") as f:
                header = f.read(10)
            self.assertEqual((header[3] & 0x08, header[4:8]), (0, b"\0\0\0\0"), page)
            with gzip.open(path, "rt", encoding="utf-8") as f:
                text = f.read()
            self.assertIn('.SH "EXIT STATUS"', text)
            if page == "ime-enlist":
                self.assertEqual(re.findall(r"^\.TP\n(\d+)$", text, re.MULTILINE), statuses)

    def test_dpkg_installs_and_removes_the_registration_with_both_frameworks(self):
        if os.geteuid() != 0:
            self.skipTest("dpkg --root needs root to own the files")
        root = os.path.join(self.folder, "installed")
        os.makedirs(os.path.join(root, "var", "lib", "dpkg", "updates"))
        open(os.path.join(root, "var", "lib", "dpkg", "status"), "w", encoding="utf-8").close()

        def dpkg(*arguments):
            # The libraries it depends on are the machine's, not the empty root's.
            run = subprocess.run(["dpkg", "--root=" + root, "--force-depends", *arguments],
                                 capture_output=True, text=True, check=False)
            self.assertEqual(run.returncode, 0, run.stdout + run.stderr)

        dpkg("-i", self.package)
        executable = PACKAGED_BUNDLE + "/Contents/MacOS/CQInputKV"
        self.assertIn(f"<exec>&apos;{executable}&apos; --ibus</exec>",
                      read_text(root + IBUS_DESCRIPTION))
        registered = [IBUS_DESCRIPTION]
        if has_addon(root):
            library = PACKAGED_BUNDLE + "/Contents/PlugIns/cqinputkv-fcitx5"
            self.assertIn(f"\nLibrary={library}\n", read_text(root + FCITX_ADDON))
            self.assertTrue(os.path.isfile(root + library + ".so"))
            icon = re.search(r"^Icon=(.*)$", read_text(root + FCITX_METHOD), re.MULTILINE)
            self.assertTrue(os.path.isfile(root + icon.group(1)), icon.group(1))
            registered += [FCITX_ADDON, FCITX_METHOD]

        dpkg("-r", "cqinputkv")
        self.assertEqual([p for p in registered if os.path.lexists(root + p)], [])
        self.assertFalse(os.path.exists(os.path.join(root, "usr")))


class FcitxFromThePackage(unittest.TestCase):
    """The package's fcitx5 descriptions found by a private fcitx5 through XDG_DATA_DIRS, their
    library path moved to the unpacked root for the test."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="kv-deb-")
        try:
            _, cls.root = build_package(cls.folder)
            if not has_addon(cls.root):
                raise unittest.SkipTest("the package has no fcitx5 addon: this build has no "
                                        "fcitx5 development packages")
        except BaseException:
            shutil.rmtree(cls.folder, ignore_errors=True)
            raise
        for description in (FCITX_ADDON, FCITX_METHOD):
            text = read_text(cls.root + description).replace("=/usr/", "=" + cls.root + "/usr/")
            with open(cls.root + description, "w", encoding="utf-8") as f:
                f.write(text)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_a_private_fcitx5_types_through_the_packaged_addon(self):
        data = os.path.join(self.root, "usr", "share") + ":/usr/local/share:/usr/share"
        with PrivateFcitx(input_methods=("keyboard-us", "cqinputkv"),
                          environment={"XDG_DATA_DIRS": data}) as desktop:
            client = desktop.client()
            client.focus_in()
            self.assertTrue(desktop.select_input_method("cqinputkv"), desktop.fcitx_log())
            client.type(["a", "space", "1"])
            self.assertTrue(client.wait_for(lambda: "".join(client.commits) == "日"),
                            (client.commits, desktop.fcitx_log()))
            client.destroy()


if __name__ == "__main__":
    unittest.main()
