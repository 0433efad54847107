# SPDX-License-Identifier: MIT
"""The input method through a real IBus daemon, seen from an input context of a test client:
what a user's application would receive for the keys it forwards."""

import os
import subprocess
import unittest

from kvdesktop import BUNDLE, Client, DesktopCase, IBus, PrivateDesktop, pump, write_settings
from kvdesktop import program_windows, windows_when


class EngineThroughIBus(DesktopCase):
    @classmethod
    def setUpClass(cls):
        cls.open_desktop()

    def test_typing_shows_the_reading_and_choosing_commits(self):
        c = self.focused_client()
        self.assertEqual(c.type("a"), [True])
        self.assertTrue(c.wait_for_preedit("日"), self.desktop.engine_log())
        # One single underline over the whole reading, the caret at its end.
        self.assertIn((IBus.AttrType.UNDERLINE, IBus.AttrUnderline.SINGLE, 0, 1),
                      c.preedit_attributes)
        self.assertEqual(c.preedit_cursor, 1)
        c.type("{space}2")
        self.assertTrue(c.wait_for_commit("曰"))
        self.assertEqual(c.preedit, "")
        # Backspace takes one root back, Escape drops the rest and commits nothing.
        c.type("ab")
        self.assertTrue(c.wait_for_preedit("日月"))
        c.type("{BackSpace}")
        self.assertTrue(c.wait_for_preedit("日"))
        c.type("{Escape}")
        self.assertTrue(c.wait_for_preedit(""))
        self.assertEqual(c.committed, "曰")
        # With nothing composed, keys the input method has no use for reach the application.
        self.assertEqual(c.type("{Return}{Left}"), [False, False])
        self.assertEqual(c.press("a", IBus.ModifierType.CONTROL_MASK), False)
        # Paging: Space turns the page, a digit chooses on the page shown.
        c.type("za{space}{space}1")
        self.assertTrue(c.wait_for_commit("…"))

    def test_caps_lock_and_shift_switch_to_english_and_full_width(self):
        c = self.focused_client()
        # Caps Lock: English mode, keys go to the application untouched.
        self.assertFalse(c.press("Caps_Lock"))
        self.assertEqual(c.type("a"), [False])
        # Shift+Space turns full-width output on: English keys come out full width.
        self.assertTrue(c.press("space", IBus.ModifierType.SHIFT_MASK))
        c.type("a")
        self.assertTrue(c.wait_for_commit("ａ"))
        self.assertTrue(c.press("space", IBus.ModifierType.SHIFT_MASK))
        self.assertEqual(c.type("a"), [False])
        # Caps Lock again (its light is on when pressed): back to Chinese.
        self.assertFalse(c.press("Caps_Lock", IBus.ModifierType.LOCK_MASK))
        c.type("a")
        self.assertTrue(c.wait_for_preedit("日"))
        # In Chinese mode, Shift with a letter types that letter in lower case.
        c.type("{Escape}")
        self.assertTrue(c.press("A"))
        self.assertTrue(c.wait_for_commit("a"))

    def test_two_contexts_keep_their_own_compositions(self):
        first = self.focused_client()
        first.type("a")
        self.assertTrue(first.wait_for_preedit("日"))
        first.focus_out()
        second = self.focused_client()
        second.type("b")
        self.assertTrue(second.wait_for_preedit("月"))
        # Leaving a context drops its composition: nothing is committed anywhere.
        second.focus_out()
        first.focus_in()
        pump(timeout=0.2)
        self.assertEqual(first.committed + second.committed, "")
        first.type("a{space}2")
        self.assertTrue(first.wait_for_commit("曰"))
        self.assertEqual(second.committed, "")

    def test_switching_engines_and_a_vanished_client(self):
        c = self.focused_client()
        c.type("ab")
        self.assertTrue(c.wait_for_preedit("日月"))
        # Away to another engine and back: a new engine object, nothing committed twice or lost.
        self.assertTrue(self.desktop.select_engine("xkb:us::eng"))
        pump(timeout=0.2)
        self.assertTrue(self.desktop.select_engine())
        pump(timeout=0.2)
        c.type("a")
        self.assertTrue(c.wait_for_preedit("日"), c.preedit)
        self.assertEqual(c.committed, "")
        # A client that goes away mid-composition: the next one starts clean.
        c.destroy()
        other = self.focused_client()
        other.type("b")
        self.assertTrue(other.wait_for_preedit("月"), other.preedit)
        self.assertEqual(other.committed, "")

    def test_password_fields_get_every_key_and_see_no_panel(self):
        c = self.focused_client()
        c.context.set_content_type(IBus.InputPurpose.PASSWORD, 0)
        pump(timeout=0.2)
        self.assertEqual(c.type("ab{space}1"), [False, False, False, False])
        self.assertEqual((c.preedit, c.committed), ("", ""))
        self.assertEqual(program_windows("CQInputKV"), [])
        c.context.set_content_type(IBus.InputPurpose.FREE_FORM, 0)
        pump(timeout=0.2)
        c.type("a")
        self.assertTrue(c.wait_for_preedit("日"))

    def test_the_menu_is_a_property_list_that_opens_the_settings(self):
        c = self.focused_client()
        self.assertTrue(pump(lambda: "menu.2" in c.properties), self.desktop.engine_log())
        self.assertEqual(c.properties["menu"].get_label().get_text(), "澄雀KV")
        self.assertEqual([c.properties[f"menu.{i}"].get_label().get_text() for i in range(3)],
                         ["重新載入碼表", "編輯自建詞組…", "澄雀KV 設定…"])
        c.context.property_activate("menu.2", IBus.PropState.CHECKED)
        self.assertTrue(pump(lambda: program_windows("設定"), timeout=5),
                        self.desktop.engine_log())


class TheDesktopsPanel(DesktopCase):
    """With "CandidatePanel" set to "desktop", the list goes to IBus for the desktop to draw.
    The choice is read afresh by every engine object: removed, the program's own list comes back
    after switching input methods away and back."""

    CAPABILITIES = (Client.CAPABILITIES | IBus.Capabilite.LOOKUP_TABLE
                    | IBus.Capabilite.AUXILIARY_TEXT)

    def test_the_list_goes_out_as_a_lookup_table_and_the_desktop_panel_chooses(self):
        desktop = self.open_desktop()
        write_settings("[String]\nCandidatePanel=desktop\n")
        # The test plays the desktop's panel, whose clicks the daemon hands to the engine.
        panel = IBus.PanelService.new(desktop.bus().get_connection())
        desktop.bus().request_name(IBus.SERVICE_PANEL, 0)
        c = self.focused_client(capabilities=self.CAPABILITIES)

        def shown():
            table, visible = c.lookup_tables[-1]
            count = table.get_number_of_candidates()
            return ([table.get_candidate(i).get_text() for i in range(count)],
                    [table.get_label(i).get_text() for i in range(count)],
                    table.get_cursor_pos(), visible)

        c.type("za{space}")
        # The table and the auxiliary text are separate signals: wait for both.
        self.assertTrue(
            pump(lambda: c.lookup_tables and shown()[3] and c.auxiliary.endswith("1/4")),
            desktop.engine_log())
        candidates, labels, cursor, _ = shown()
        self.assertEqual(candidates[:3], ["‘", "’", "“"])
        self.assertEqual(labels, list("1234567890"))
        self.assertEqual(cursor, 0)
        self.assertEqual(c.auxiliary, "符日　1/4")
        c.type("{Down}{Down}{Up}")
        self.assertTrue(pump(lambda: shown()[2] == 1), shown())
        # The desktop panel's page button and Space both turn the page.
        panel.page_down()
        self.assertTrue(pump(lambda: shown()[0][0] == "…" and c.auxiliary.endswith("2/4")),
                        (shown(), c.auxiliary))
        # A click on the third row of the desktop's list commits it.
        panel.candidate_clicked(2, 1, 0)
        self.assertTrue(c.wait_for_commit("」"), desktop.engine_log())
        self.assertTrue(pump(lambda: not shown()[3]))
        # The toolbar's buttons are properties: the script button flips the output.
        self.assertEqual(c.properties["toolbar.script"].get_label().get_text(), "繁")
        c.context.property_activate("toolbar.script", IBus.PropState.CHECKED)
        self.assertTrue(pump(lambda: c.properties["toolbar.script"].get_label().get_text()
                             == "簡"))
        self.assertEqual(program_windows("CQInputKV"), [])

        def round_trip():
            self.assertTrue(desktop.select_engine("xkb:us::eng"))
            pump(timeout=0.2)
            self.assertTrue(desktop.select_engine(), desktop.engine_log())
            pump(timeout=0.2)
            c.lookup_tables.clear()
            c.type("ab{space}")

        round_trip()
        self.assertTrue(pump(lambda: c.lookup_tables and c.lookup_tables[-1][1]),
                        desktop.engine_log())
        self.assertEqual(program_windows(), [])
        c.type("{Escape}")
        write_settings("")
        round_trip()
        found = windows_when(lambda found: found and found[-1][3] > 200)
        self.assertTrue(found and found[-1][3] > 200, (found, desktop.engine_log()))
        self.assertFalse(any(visible for _, visible in c.lookup_tables))
        c.type("1")
        self.assertTrue(c.wait_for_commit("明"), c.committed)


class TheProgram(unittest.TestCase):
    """CQInputKV started by hand: registered at run time, gone with its daemon."""

    EXECUTABLE = os.path.join(BUNDLE, "Contents", "MacOS", "CQInputKV")

    def test_without_a_daemon_it_says_so_and_exits_1(self):
        environment = dict(os.environ, IBUS_ADDRESS="unix:path=/nonexistent/ibus.sock")
        environment.pop("CQINPUTKV_LOG", None)
        done = subprocess.run([self.EXECUTABLE], env=environment, capture_output=True, text=True,
                              timeout=30, check=False)
        self.assertEqual(done.returncode, 1, done.stderr)
        self.assertIn("CQ_Input_KV: cannot create IMKServer", done.stderr)

    def test_registered_at_run_time_it_types_and_ends_with_the_daemon(self):
        with PrivateDesktop() as desktop:
            program = desktop.spawn([self.EXECUTABLE])
            client = desktop.client()
            client.focus_in()
            self.assertTrue(pump(lambda: "ready" in desktop.engine_log(), timeout=10))
            self.assertTrue(desktop.select_engine(), desktop.engine_log())
            client.type("a")
            self.assertTrue(client.wait_for_preedit("日"), desktop.engine_log())
            desktop.bus().exit(False)
            self.assertEqual(program.wait(timeout=10), 0)
            self.assertIn("the IBus daemon went away", desktop.engine_log())


if __name__ == "__main__":
    unittest.main()
