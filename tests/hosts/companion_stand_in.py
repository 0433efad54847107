#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Stands in for `CQInputKV --companion` in the addon side's tests: owns the companion's name
and answers every method with the signal KeyPressed(method's name), so a test sees that its
call arrived; HideKeyboard also ends it, as a companion that dies would."""

import sys

from gi.repository import Gio, GLib

NAME = "org.cqinputkv.inputmethod.CQInputKV.Companion"
PATH = "/org/cqinputkv/Companion"
INTERFACE = "org.cqinputkv.Companion1"
XML = f"""<node><interface name='{INTERFACE}'>
<method name='ShowSettings'/><method name='ShowWords'/><method name='ShowKeyboard'/>
<method name='HideKeyboard'/><signal name='KeyPressed'><arg type='s'/></signal>
</interface></node>"""

if sys.argv[1:] != ["--companion"]:
    sys.exit(2)
loop = GLib.MainLoop()
bus = Gio.bus_get_sync(Gio.BusType.SESSION)


def called(connection, _sender, _path, _interface, method, _args, invocation):
    connection.emit_signal(None, PATH, INTERFACE, "KeyPressed", GLib.Variant("(s)", (method,)))
    invocation.return_value(None)
    if method == "HideKeyboard":
        connection.flush_sync()
        loop.quit()


bus.register_object(PATH, Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0], called)
Gio.bus_own_name_on_connection(bus, NAME, Gio.BusNameOwnerFlags.DO_NOT_QUEUE, None,
                               lambda *_: loop.quit())
loop.run()
