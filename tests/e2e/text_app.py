# SPDX-License-Identifier: MIT
"""A real GTK3 application for the end-to-end tests: one text view that takes the focus, whose
text is written to the file named by the first argument on every change.
    text_app.py OUT [TITLE [X Y]]"""

import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gtk  # noqa: E402


def main():
    out = sys.argv[1]
    title = sys.argv[2] if len(sys.argv) > 2 else "kv-text-app"
    x, y = (int(sys.argv[3]), int(sys.argv[4])) if len(sys.argv) > 4 else (100, 100)
    window = Gtk.Window(title=title)
    window.set_default_size(600, 200)
    window.move(x, y)
    view = Gtk.TextView()
    window.add(view)

    def changed(buffer):
        with open(out, "w", encoding="utf-8") as f:
            f.write(buffer.get_text(buffer.get_start_iter(), buffer.get_end_iter(), True))

    view.get_buffer().connect("changed", changed)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    view.grab_focus()
    print("ready", flush=True)
    Gtk.main()


if __name__ == "__main__":
    main()
