# SPDX-License-Identifier: MIT
"""The Debian package of the build, made with cpack and unpacked into a temporary root."""

import glob
import os
import shutil
import subprocess
import unittest

from kvdesktop import BUNDLE

BUILD = os.path.dirname(os.path.abspath(BUNDLE))
PACKAGED_BUNDLE = "/usr/lib/cqinputkv/CQInputKV.app"


def build_package(folder):
    """Makes the package into `folder`, unpacks it into `folder`/root; (package, root)."""
    if not (shutil.which("cpack") and shutil.which("dpkg-deb")):
        raise unittest.SkipTest("cpack or dpkg-deb is missing")
    subprocess.run(["cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"),
                    "-B", folder], check=True, capture_output=True)
    package = glob.glob(os.path.join(folder, "cqinputkv_*.deb"))[0]
    root = os.path.join(folder, "root")
    subprocess.run(["dpkg-deb", "-x", package, root], check=True)
    return package, root


def listing(package):
    """{path: (mode, link target or None)} of the package's files."""
    out = subprocess.run(["dpkg-deb", "-c", package], capture_output=True, text=True,
                         check=True).stdout
    files = {}
    for line in out.splitlines():
        fields = line.split(maxsplit=5)
        name, _, target = fields[5].partition(" -> ")
        files[name] = (fields[0], target or None)
    return files


def control(package):
    return subprocess.run(["dpkg-deb", "-I", package], capture_output=True, text=True,
                          check=True).stdout
