# SPDX-License-Identifier: MIT
"""The fcitx5 addon in a private fcitx5: typed into through fcitx5's D-Bus frontend while the
test plays KDE's input method panel (fcitx5 sends it the list, the auxiliary text and the
status-area actions), and a real GTK 3 application typed into with XTEST, the list drawn by
fcitx5 on the screen."""

import os
import time
import unittest

from gi.repository import GLib

from kvdesktop import BUNDLE, colour_counts, keys, program_windows, pump, xdotool
from kvfcitx import (CAP_PASSWORD, CAP_PREEDIT, CAP_SURROUNDING_TEXT, CAPABILITIES,
                     PrivateFcitx, install_addon, wait_until)

CAP_SENSITIVE = 1 << 36
UNDERLINE, DONT_COMMIT = 1 << 3, 1 << 5  # fcitx5's text format flags
INPUT_METHODS = ("keyboard-us", "cqinputkv")
# fcitx5's own candidate window, default theme: the highlighted row.
FCITX_HIGHLIGHT = (128, 128, 128)


def private_fcitx(**kwargs):
    return PrivateFcitx(input_methods=INPUT_METHODS,
                        before_start=lambda _desktop: install_addon(BUNDLE), **kwargs)


class ThroughFcitxFrontend(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = private_fcitx(kde_panel=True)
        cls.desktop.__enter__()
        cls.addClassCleanup(cls.desktop.__exit__, None, None, None)
        cls.panel = cls.desktop.play_kde_panel()

    def focused_client(self, capabilities=CAPABILITIES):
        client = self.desktop.client(capabilities=capabilities)
        self.addCleanup(client.destroy)
        client.focus_in()
        client.cursor_at(200, 300)
        # A context starts on the group's first input method, as fcitx5 keeps it per context.
        self.assertTrue(self.desktop.select_input_method("cqinputkv"), self.desktop.fcitx_log())
        return client

    def shown(self):
        p = self.panel
        return p.list_shown, p.labels, p.candidates, p.cursor, p.aux

    def test_typing_paging_and_choosing(self):
        c = self.focused_client()
        self.assertEqual(c.type(["a", "b"]), [True, True])
        # The reading is the client's preedit, underlined, the caret after it (fcitx5 counts
        # bytes), never committed by fcitx5 itself when the focus goes.
        self.assertTrue(c.wait_for(lambda: c.preedit == "日月"), self.desktop.fcitx_log())
        self.assertEqual((c.preedit_formats, c.preedit_cursor), ([UNDERLINE | DONT_COMMIT], 6))
        c.type(["space"])
        self.assertTrue(wait_until(lambda: self.shown() == (
            True, ["1", "2"], ["明", "冐"], 0, "日月　1/1")), self.shown())
        self.assertFalse(self.panel.has_prev or self.panel.has_next)
        c.type(["1"])
        self.assertTrue(c.wait_for(lambda: c.commits == ["明"] and not self.panel.list_shown))
        self.assertEqual(c.preedit, "")

        # Four pages: the panel's page button turns them through the controller, and a click
        # on a row chooses it.
        c.type(["z", "a", "space"])
        self.assertTrue(wait_until(lambda: self.panel.aux == "符日　1/4"), self.shown())
        self.assertEqual(self.panel.labels, list("1234567890"))
        self.assertEqual(self.panel.candidates[:3], ["‘", "’", "“"])
        self.assertEqual((self.panel.has_prev, self.panel.has_next), (False, True))
        self.panel.page(True)
        self.assertTrue(wait_until(lambda: self.panel.aux == "符日　2/4"), self.shown())
        self.assertEqual(self.panel.candidates[0], "…")
        self.assertTrue(self.panel.has_prev)
        self.panel.select(2)
        self.assertTrue(c.wait_for(lambda: c.commits[-1:] == ["」"]), c.commits)

        # fcitx5's own SelectCandidate goes down the same path.
        c.type(["a", "b", "space"])
        self.assertTrue(wait_until(lambda: self.panel.candidates == ["明", "冐"]))
        c.select_candidate(1)
        self.assertTrue(c.wait_for(lambda: c.commits[-1:] == ["冐"]), c.commits)
        # Nothing composed: Control and the keys the input method has no use for pass.
        self.assertEqual(c.press("a", 1 << 2), False)
        self.assertEqual(c.type(["Return"]), [False])

        # A client that shows no preedit: the reading goes to fcitx5's panel instead.
        plain = self.focused_client(capabilities=CAPABILITIES & ~CAP_PREEDIT)
        plain.type(["a", "b"])
        self.assertTrue(wait_until(lambda: self.panel.preedit == "日月"), self.panel.preedit)
        self.assertEqual(plain.preedit, "")

    def test_the_menu_and_the_toolbar_are_status_actions(self):
        c = self.focused_client()
        labels = {key: self.panel.properties.get("cqinputkv-toolbar." + key)
                  for key in ("script", "width", "settings", "words", "keyboard")}
        self.assertEqual(labels["script"], ("繁", "繁／簡"))
        self.assertEqual(labels["width"], ("半", "半／全"))
        self.assertEqual([labels[k][1] for k in ("settings", "words", "keyboard")],
                         ["設定", "自建詞組", "螢幕鍵盤"])
        self.panel.trigger("cqinputkv-menu")
        self.assertTrue(wait_until(lambda: self.panel.menus), self.panel.properties)
        self.assertEqual([self.panel.properties[k][0] for k in self.panel.menus[-1]],
                         ["重新載入碼表", "編輯自建詞組…", "澄雀KV 設定…"])
        # 繁/簡 switches the output, and its label says so.
        self.panel.trigger("cqinputkv-toolbar.script")
        self.assertTrue(wait_until(
            lambda: self.panel.properties["cqinputkv-toolbar.script"][0] == "簡"))
        c.type(["d", "w", "space", "1"])
        self.assertTrue(c.wait_for(lambda: c.commits == ["东"]), c.commits)
        self.panel.trigger("cqinputkv-toolbar.script")
        c.type(["d", "w", "space", "1"])
        self.assertTrue(c.wait_for(lambda: c.commits == ["东", "東"]), c.commits)

    def test_secure_fields_switches_and_the_end_of_a_context(self):
        c = self.focused_client()
        c.type(["a"])
        self.assertTrue(c.wait_for(lambda: c.preedit == "日"))
        # A field that turns sensitive drops the composition and gets every key.
        c.call("SetSupportedCapability", GLib.Variant("(t)", (CAPABILITIES | CAP_SENSITIVE,)))
        c.call("SetCapability", GLib.Variant("(t)", (CAPABILITIES | CAP_SENSITIVE,)))
        self.assertTrue(c.wait_for(lambda: c.preedit == ""))
        self.assertEqual(c.type(["a", "space"]), [False, False])
        c.call("SetCapability", GLib.Variant("(t)", (CAPABILITIES,)))
        self.assertEqual(c.type(["a"]), [True])
        # Switching input methods ends the composition, with nothing committed.
        self.assertTrue(self.desktop.select_input_method("keyboard-us"))
        self.assertTrue(c.wait_for(lambda: c.preedit == ""))
        self.assertEqual(c.type(["a"]), [False])
        self.assertTrue(self.desktop.select_input_method("cqinputkv"))
        c.type(["a", "b", "space"])
        self.assertTrue(wait_until(lambda: self.panel.list_shown), (self.shown(), c.preedit))
        # A password field never reaches the input method: fcitx5 gives it the keyboard.
        secret = self.desktop.client(capabilities=CAPABILITIES | CAP_PASSWORD)
        self.addCleanup(secret.destroy)
        secret.focus_in()
        self.assertEqual(secret.type(["a", "b", "space", "1"]), [False] * 4)
        self.assertEqual((secret.commits, secret.preedit), ([], ""))
        # The context destroyed while choosing: its list goes, nothing is committed, and the
        # next context types as the first did.
        c.focus_in()
        c.type(["a", "space"])
        self.assertTrue(wait_until(lambda: self.panel.list_shown))
        c.destroy()
        self.assertTrue(wait_until(lambda: not self.panel.list_shown), self.shown())
        self.assertEqual(c.commits, [])
        after = self.focused_client()
        after.type(["a", "b", "space", "1"])
        self.assertTrue(after.wait_for(lambda: after.commits == ["明"]), self.desktop.fcitx_log())


class WindowsThroughTheCompanion(unittest.TestCase):
    """The toolbar's and the menu's windows come from the companion process the addon starts;
    typing goes on when the companion dies, and the next request starts it again."""

    COMPANION = "org.cqinputkv.inputmethod.CQInputKV.Companion"
    SETTINGS_TITLE = "^澄雀輸入法-雲階　設定$"

    def companion_pid(self):
        if not self.desktop.name_has_owner(self.COMPANION):
            return None
        try:
            reply = self.desktop.connection.call_sync(
                "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                "GetConnectionUnixProcessID", GLib.Variant("(s)", (self.COMPANION,)),
                GLib.VariantType("(u)"), 0, 3000, None)
        except GLib.Error:  # gone in between
            return None
        return reply.unpack()[0]

    def test_the_keyboard_and_the_settings_window_survive_a_dead_companion(self):
        with private_fcitx(kde_panel=True, window_manager=True) as desktop:
            self.desktop = desktop
            panel = desktop.play_kde_panel()
            c = desktop.client()
            self.addCleanup(c.destroy)
            c.focus_in()
            c.cursor_at(200, 300)
            self.assertTrue(desktop.select_input_method("cqinputkv"), desktop.fcitx_log())
            self.assertIsNone(self.companion_pid())

            # The toolbar's keyboard starts the companion, whose keys type into the field.
            panel.trigger("cqinputkv-toolbar.keyboard")
            self.assertTrue(pump(lambda: len(program_windows()) == 1, 10), desktop.engine_log())
            x, y, w, h = program_windows()[0]
            self.assertEqual((w, h), (720, 350))
            desktop.screenshot(os.path.join(desktop.folder, "fcitx-companion-keyboard.png"))
            # The "a" key, left of the third row, as a hand clicks it.
            column = max((w - 16) / 13, 30)
            row = max((h - 116) / 4, 40)
            ax = round(x + 8 + 1 * column + (column - 4) / 2)
            ay = round(y + 25 + 2 * row + 6 + (row - 6) / 2)
            xdotool("mousemove", "--sync", str(ax), str(ay))
            xdotool("click", "1")
            self.assertTrue(c.wait_for(lambda: c.preedit == "日"), desktop.engine_log())

            # Its Backspace, with nothing composed, deletes the character before the caret
            # through the surrounding text, or has the application delete without it.
            c.type(["Escape"])
            backspace = (round(x + (0.74 * w + w - 24) / 2), y + h - 8 - 34)
            xdotool("mousemove", "--sync", *map(str, backspace))
            xdotool("click", "1")
            self.assertTrue(c.wait_for(lambda: c.forwarded), desktop.fcitx_log())
            self.assertEqual(c.forwarded[0][:2], (0xFF08, 0))
            writer = desktop.client(capabilities=CAPABILITIES | CAP_SURROUNDING_TEXT)
            self.addCleanup(writer.destroy)
            writer.focus_in()
            self.assertTrue(desktop.select_input_method("cqinputkv"))
            writer.call("SetSurroundingText", GLib.Variant("(suu)", ("日明", 2, 2)))
            # The keyboard hides while no field has the focus, and comes back at the first key.
            writer.type(["Escape"])
            self.assertTrue(pump(lambda: program_windows() == [(x, y, w, h)], 5),
                            (program_windows(), (x, y, w, h)))
            time.sleep(0.3)
            xdotool("click", "1")
            self.assertTrue(writer.wait_for(lambda: writer.deletions == [(-1, 1)]),
                            (writer.deletions, writer.forwarded))
            self.assertEqual(writer.forwarded, [])
            c.focus_in()
            self.assertTrue(desktop.select_input_method("cqinputkv"))
            c.type(["Escape"])
            self.assertTrue(pump(lambda: program_windows() == [(x, y, w, h)], 5))
            time.sleep(0.3)
            xdotool("mousemove", "--sync", str(ax), str(ay))
            xdotool("click", "1")
            self.assertTrue(c.wait_for(lambda: c.preedit == "日"), desktop.engine_log())

            # The companion dies mid-word: the word goes on from the keyboard of the field.
            os.kill(self.companion_pid(), 9)
            self.assertTrue(pump(lambda: self.companion_pid() is None, 5))
            c.type(["b", "space", "1"])
            self.assertTrue(c.wait_for(lambda: c.commits == ["明"]), desktop.fcitx_log())

            # The menu's settings item starts a new one, which shows the settings window.
            panel.trigger("cqinputkv-menu")
            self.assertTrue(wait_until(lambda: panel.menus), panel.properties)
            settings = [k for k in panel.menus[-1] if panel.properties[k][0] == "澄雀KV 設定…"]
            panel.trigger(settings[0])
            self.assertTrue(pump(lambda: program_windows(self.SETTINGS_TITLE), 10),
                            desktop.engine_log())
            self.assertIsNotNone(self.companion_pid())
            c.type(["a", "space", "1"])
            self.assertTrue(c.wait_for(lambda: c.commits == ["明", "日"]), c.commits)


class TypingIntoAGtkApplication(unittest.TestCase):
    def test_the_list_is_drawn_by_fcitx5_and_the_text_arrives(self):
        with private_fcitx() as desktop:
            app = desktop.text_app(environment={"GTK_IM_MODULE": "fcitx"})
            xdotool("windowfocus", "--sync", app.window)
            self.assertTrue(wait_until(lambda: desktop.select_input_method("cqinputkv")))
            x, y, _, _ = app.geometry()
            below_caret = (x, y, 300, 150)
            keys("a", "b", "space")
            shot = desktop.screenshot(os.path.join(desktop.folder, "fcitx-list.png"))
            # fcitx5's window under the caret: its highlighted first row.
            highlighted = colour_counts(shot, below_caret, [FCITX_HIGHLIGHT])[FCITX_HIGHLIGHT]
            self.assertGreater(highlighted, 500, desktop.fcitx_log())
            self.assertEqual(app.text(), "")
            keys("2")
            self.assertTrue(app.wait_for_text("冐"), app.text() + desktop.engine_log())
            time.sleep(0.3)
            shot = desktop.screenshot(os.path.join(desktop.folder, "fcitx-after.png"))
            self.assertEqual(colour_counts(shot, below_caret, [FCITX_HIGHLIGHT]),
                             {FCITX_HIGHLIGHT: 0})


if __name__ == "__main__":
    unittest.main()
