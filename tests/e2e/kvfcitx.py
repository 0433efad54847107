# SPDX-License-Identifier: MIT
"""A private fcitx5 for end-to-end tests: the private desktop of kvdesktop (Xvfb, a session bus,
a temporary home) with fcitx5 in place of ibus-daemon, its profile and configuration in the
temporary folder, all torn down on exit. Clients talk to it through fcitx5's own D-Bus frontend,
with the client-side input panel, so the candidate list arrives as a signal a test can read."""

import os
import subprocess
import time

from gi.repository import Gio, GLib

from kvdesktop import BUNDLE, PrivateDesktop, pump, _wait_for

FCITX_NAME = "org.fcitx.Fcitx5"

# Capability bits of fcitx5's input contexts.
CAP_PREEDIT = 1 << 1
CAP_PASSWORD = 1 << 3
CAP_FORMATTED_PREEDIT = 1 << 4
CAP_SURROUNDING_TEXT = 1 << 6
CAP_CLIENT_SIDE_INPUT_PANEL = 1 << 39
CAPABILITIES = CAP_PREEDIT | CAP_FORMATTED_PREEDIT | CAP_CLIENT_SIDE_INPUT_PANEL

# Key symbols and X key codes (evdev + 8) of the keys the tests type.
_LETTER_ROWS = {"qwertyuiop": 24, "asdfghjkl": 38, "zxcvbnm": 52}
_KEYS = {c: (ord(c), base + i) for row, base in _LETTER_ROWS.items() for i, c in enumerate(row)}
_KEYS.update({str(d): (ord(str(d)), 9 + d) for d in range(1, 10)})
_KEYS.update({"0": (ord("0"), 19), ",": (ord(","), 59), ".": (ord("."), 60), "'": (ord("'"), 48),
              ";": (ord(";"), 47), "/": (ord("/"), 61), "space": (0x20, 65),
              "Return": (0xFF0D, 36), "BackSpace": (0xFF08, 22), "Escape": (0xFF1B, 9),
              "Down": (0xFF54, 116), "Up": (0xFF52, 111), "Page_Down": (0xFF56, 117),
              "Page_Up": (0xFF55, 112), "Shift_L": (0xFFE1, 50), "Caps_Lock": (0xFFE5, 66)})
SHIFT_MASK = 1 << 0


class PrivateFcitx(PrivateDesktop):
    """Xvfb, a private session bus and a private fcitx5. `input_methods` is the profile's group
    (keyboard-us first, as fcitx5 wants); `before_start(desktop)` runs once the folders exist
    and before fcitx5 starts (to write addon descriptions into $XDG_DATA_HOME/fcitx5)."""

    def __init__(self, input_methods=("keyboard-us",), before_start=None, kde_panel=False,
                 **kwargs):
        super().__init__(**kwargs)
        self.input_methods = list(input_methods)
        self.before_start = before_start
        # fcitx5's KDE panel module draws through a panel on the bus; a test may play that panel.
        self.with_kde_panel = kde_panel
        self._fcitx_log = None
        self.fcitx = None

    def _start_framework(self):
        self.write_profile(self.input_methods)
        if self.before_start is not None:
            self.before_start(self)
        self.start_fcitx()

    def write_profile(self, input_methods):
        folder = os.path.join(os.environ["XDG_CONFIG_HOME"], "fcitx5")
        os.makedirs(folder, exist_ok=True)
        lines = ["[Groups/0]", "Name=Default", "Default Layout=us",
                 "DefaultIM=" + input_methods[-1], ""]
        for i, name in enumerate(input_methods):
            lines += [f"[Groups/0/Items/{i}]", "Name=" + name, "Layout=", ""]
        lines += ["[GroupOrder]", "0=Default", ""]
        with open(os.path.join(folder, "profile"), "w", encoding="utf-8") as f:
            f.write("\n".join(lines))

    def start_fcitx(self, timeout=15):
        """Starts fcitx5 and returns once it owns its bus name."""
        self._fcitx_log = open(os.path.join(self.folder, "fcitx5.log"), "ab")
        # fcitx5 never asks the user anything here; its own notifications stay off.
        self.fcitx = subprocess.Popen(
            ["fcitx5", "--disable=notificationitem,notifications,unicode,clipboard"
             + ("" if self.with_kde_panel else ",kimpanel")],
            stdout=self._fcitx_log, stderr=subprocess.STDOUT)
        self._processes.append(self.fcitx)
        self.connection = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        _wait_for(lambda: self.name_has_owner(FCITX_NAME), "fcitx5", timeout=timeout)

    def __exit__(self, *exc):
        result = super().__exit__(*exc)
        if self._fcitx_log is not None:
            self._fcitx_log.close()
            self._fcitx_log = None
        return result

    def stop_fcitx(self):
        if self.fcitx is not None and self.fcitx.poll() is None:
            self.fcitx.terminate()
            self.fcitx.wait(timeout=10)

    def fcitx_log(self):
        with open(os.path.join(self.folder, "fcitx5.log"), encoding="utf-8",
                  errors="replace") as f:
            return f.read()

    def name_has_owner(self, name):
        reply = self.connection.call_sync(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "NameHasOwner", GLib.Variant("(s)", (name,)), GLib.VariantType("(b)"),
            Gio.DBusCallFlags.NONE, 3000, None)
        return reply.unpack()[0]

    def controller(self, method, arguments=None, reply_type=None):
        """Calls fcitx5's controller (org.fcitx.Fcitx.Controller1) and returns the unpacked
        reply."""
        reply = self.connection.call_sync(
            FCITX_NAME, "/controller", "org.fcitx.Fcitx.Controller1", method, arguments,
            GLib.VariantType(reply_type) if reply_type else None, Gio.DBusCallFlags.NONE,
            5000, None)
        return reply.unpack() if reply is not None else None

    def current_input_method(self):
        return self.controller("CurrentInputMethod", reply_type="(s)")[0]

    def select_input_method(self, name):
        self.controller("SetCurrentIM", GLib.Variant("(s)", (name,)))
        return pump(lambda: self.current_input_method() == name, timeout=3)

    def client(self, **kwargs):
        return FcitxClient(self.connection, **kwargs)

    def play_kde_panel(self):
        """Plays KDE's input method panel (needs `kde_panel=True`): fcitx5 then shows the list,
        the auxiliary text and the status area's actions through it."""
        return KdePanel(self.connection)


class FcitxClient:
    """One input context through fcitx5's D-Bus frontend. Records what fcitx5 sends it: the
    commits, the preedit, and the client-side panel (preedit, auxiliary texts, candidates)."""

    def __init__(self, connection, capabilities=CAPABILITIES, program="kvtest"):
        self.connection = connection
        self.commits = []
        self.preedit = ""
        self.preedit_cursor = -1
        self.preedit_formats = []
        self.panel_preedit = ""
        self.aux_up = ""
        self.aux_down = ""
        self.candidates = []  # (label, text) pairs of the shown page
        self.cursor = -1
        self.forwarded = []  # (keysym, state, is_release)
        self.deletions = []  # (offset, length)
        reply = connection.call_sync(
            FCITX_NAME, "/org/freedesktop/portal/inputmethod", "org.fcitx.Fcitx.InputMethod1",
            "CreateInputContext", GLib.Variant("(a(ss))", ([("program", program)],)),
            GLib.VariantType("(oay)"), Gio.DBusCallFlags.NONE, 5000, None)
        self.path = reply.unpack()[0]
        self._subscription = connection.signal_subscribe(
            FCITX_NAME, "org.fcitx.Fcitx.InputContext1", None, self.path, None,
            Gio.DBusSignalFlags.NONE, self._on_signal)
        # Bits outside the supported set are dropped; the client-side panel is one of them.
        self.call("SetSupportedCapability", GLib.Variant("(t)", (capabilities,)))
        self.call("SetCapability", GLib.Variant("(t)", (capabilities,)))

    def call(self, method, arguments=None, reply_type=None):
        reply = self.connection.call_sync(
            FCITX_NAME, self.path, "org.fcitx.Fcitx.InputContext1", method, arguments,
            GLib.VariantType(reply_type) if reply_type else None, Gio.DBusCallFlags.NONE,
            5000, None)
        return reply.unpack() if reply is not None else None

    def _on_signal(self, _connection, _sender, _path, _interface, name, parameters):
        values = parameters.unpack()
        if name == "CommitString":
            self.commits.append(values[0])
        elif name == "UpdateFormattedPreedit":
            self.preedit = "".join(text for text, _format in values[0])
            self.preedit_formats = [format for _text, format in values[0]]
            self.preedit_cursor = values[1]
        elif name == "UpdateClientSideUI":
            preedit, _cursor, aux_up, aux_down, candidates, cursor = values[:6]
            self.panel_preedit = "".join(text for text, _format in preedit)
            self.aux_up = "".join(text for text, _format in aux_up)
            self.aux_down = "".join(text for text, _format in aux_down)
            self.candidates = [tuple(c) for c in candidates]
            self.cursor = cursor
        elif name == "ForwardKey":
            self.forwarded.append(tuple(values))
        elif name == "DeleteSurroundingText":
            self.deletions.append(tuple(values))

    def select_candidate(self, index):
        self.call("SelectCandidate", GLib.Variant("(i)", (index,)))

    def next_page(self):
        self.call("NextPage")

    def prev_page(self):
        self.call("PrevPage")

    def focus_in(self):
        self.call("FocusIn")

    def focus_out(self):
        self.call("FocusOut")

    def cursor_at(self, x, y, w=1, h=18):
        self.call("SetCursorRect", GLib.Variant("(iiii)", (x, y, w, h)))

    def press(self, name, state=0):
        """Presses and releases one key; returns whether the input method took the press."""
        keysym, code = _KEYS[name]
        taken = self.call("ProcessKeyEvent", GLib.Variant("(uuubu)", (keysym, code, state, False,
                                                                       0)), "(b)")[0]
        self.call("ProcessKeyEvent", GLib.Variant("(uuubu)", (keysym, code, state, True, 0)),
                  "(b)")
        pump(timeout=0.02)
        return taken

    def type(self, keys, settle=0.1):
        """Types `keys` (names from the table above, one per item, or a plain string)."""
        taken = [self.press(k) for k in keys]
        pump(timeout=settle)
        return taken

    def wait_for(self, condition, timeout=3.0):
        return pump(condition, timeout=timeout)

    def destroy(self):
        if self._subscription:
            self.connection.signal_unsubscribe(self._subscription)
            self._subscription = 0
        try:
            self.call("DestroyIC")
        except GLib.Error:
            pass


_IMPANEL2_XML = """
<node>
  <interface name="org.kde.impanel2">
    <method name="SetSpotRect"><arg type="i"/><arg type="i"/><arg type="i"/><arg type="i"/></method>
    <method name="SetRelativeSpotRect">
      <arg type="i"/><arg type="i"/><arg type="i"/><arg type="i"/>
    </method>
    <method name="SetRelativeSpotRectV2">
      <arg type="i"/><arg type="i"/><arg type="i"/><arg type="i"/><arg type="d"/>
    </method>
    <method name="SetLookupTable">
      <arg type="as"/><arg type="as"/><arg type="as"/><arg type="b"/><arg type="b"/>
      <arg type="i"/><arg type="i"/>
    </method>
  </interface>
</node>"""


class KdePanel:
    """KDE's input method panel as fcitx5's kimpanel module talks to it: the list arrives as
    SetLookupTable calls, the auxiliary text and the status area's actions as signals; the
    panel's clicks go back as signals. fcitx5's D-Bus frontend drops the client-side input
    panel capability, so this is how a test reads what fcitx5 would draw."""

    def __init__(self, connection):
        self.connection = connection
        self.labels, self.candidates, self.cursor = [], [], -1
        self.has_prev = self.has_next = False
        self.list_shown = False
        self.aux = self.preedit = ""
        self.properties = {}  # key -> (label, tooltip)
        self.menus = []  # the keys of each menu fcitx5 asked the panel to show
        info = Gio.DBusNodeInfo.new_for_xml(_IMPANEL2_XML)
        self._object = connection.register_object(
            "/org/kde/impanel", info.interfaces[0], self._on_call, None, None)
        self._subscription = connection.signal_subscribe(
            None, "org.kde.kimpanel.inputmethod", None, "/kimpanel", None,
            Gio.DBusSignalFlags.NONE, self._on_signal)
        connection.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus", "RequestName",
                             GLib.Variant("(su)", ("org.kde.impanel", 0)), None,
                             Gio.DBusCallFlags.NONE, 3000, None)
        self.signal("PanelCreated")
        self.signal("PanelCreated2", interface="org.kde.impanel2")

    def _on_call(self, _connection, _sender, _path, _interface, method, parameters, invocation):
        if method == "SetLookupTable":
            (self.labels, self.candidates, _attributes, self.has_prev, self.has_next,
             self.cursor, _layout) = parameters.unpack()
        invocation.return_value(None)

    def _on_signal(self, _connection, _sender, _path, _interface, name, parameters):
        values = parameters.unpack()
        if name in ("RegisterProperties", "UpdateProperty", "ExecMenu"):
            keys = []
            for text in (values[0] if name != "UpdateProperty" else [values[0]]):
                # "/Fcitx/KEY:LABEL:ICON:TOOLTIP:HINTS"
                key, label, _icon, tooltip = (text.split(":") + [""] * 4)[:4]
                keys.append(key.rsplit("/", 1)[-1])
                self.properties[keys[-1]] = (label, tooltip)
            if name == "ExecMenu":
                self.menus.append(keys)
        elif name == "UpdateAux":
            self.aux = values[0]
        elif name == "UpdatePreeditText":
            self.preedit = values[0]
        elif name == "ShowLookupTable":
            self.list_shown = values[0]

    def signal(self, name, arguments=None, interface="org.kde.impanel"):
        self.connection.emit_signal(None, "/org/kde/impanel", interface, name, arguments)

    def trigger(self, key):
        self.signal("TriggerProperty", GLib.Variant("(s)", ("/Fcitx/" + key,)))

    def select(self, index):
        self.signal("SelectCandidate", GLib.Variant("(i)", (index,)))

    def page(self, forward):
        self.signal("LookupTablePageDown" if forward else "LookupTablePageUp")

    def close(self):
        self.connection.signal_unsubscribe(self._subscription)
        self.connection.unregister_object(self._object)
        self.connection.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                  "org.freedesktop.DBus", "ReleaseName",
                                  GLib.Variant("(s)", ("org.kde.impanel",)), None,
                                  Gio.DBusCallFlags.NONE, 3000, None)


def install_addon(bundle=BUNDLE, data_home=None):
    """Writes the bundle's addon and input method descriptions into the private data folder, as
    `ime-enlist` does, with the addon library named by its absolute path."""
    contents = os.path.join(os.path.abspath(bundle), "Contents")
    data_home = data_home or os.environ["XDG_DATA_HOME"]
    for kind in ("addon", "inputmethod"):
        folder = os.path.join(data_home, "fcitx5", kind)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(contents, "Resources", "fcitx5", kind + ".conf"),
                  encoding="utf-8") as f:
            text = f.read()
        text = text.replace("Library=cqinputkv-fcitx5",
                            "Library=" + os.path.join(contents, "PlugIns", "cqinputkv-fcitx5"))
        with open(os.path.join(folder, "cqinputkv.conf"), "w", encoding="utf-8") as f:
            f.write(text)


def wait_until(condition, timeout=3.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return True
        pump(timeout=0.02)
    return condition()
