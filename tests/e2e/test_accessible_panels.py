# SPDX-License-Identifier: MIT
"""The painted panels as a screen reader reads them: the private desktop with accessibility on
(the AT-SPI bus and its registry, GTK's bridge in the engine) and a reader written with pyatspi
in this process, which follows the list, its selection and the toolbar while keys are typed."""

import collections
import os
import subprocess
import unittest

from kvdesktop import BUNDLE, DesktopCase, IBus, PrivateDesktop, pump

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
EVENTS = ("object:state-changed:selected", "object:selection-changed",
          "object:children-changed", "object:active-descendant-changed",
          "object:property-change:accessible-name")


class AccessibleDesktop(PrivateDesktop):
    """The private desktop with the accessibility bus on its session bus, and the bridge left on
    for every program its daemon starts."""

    def _private_environment(self):
        super()._private_environment()
        os.environ.pop("NO_AT_BRIDGE", None)
        os.environ["GTK_A11Y"] = "atspi"

    def _start_session_bus(self):
        super()._start_session_bus()
        self.spawn([BUS_LAUNCHER, "--launch-immediately"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not pump(lambda: subprocess.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                 "/org/a11y/bus", "org.a11y.Bus.GetAddress"], capture_output=True).returncode == 0,
                timeout=10):
            raise RuntimeError("the accessibility bus did not start")


# An event as heard, its source read at once: the source may be gone by the time it is printed.
Heard = collections.namedtuple("Heard", "type role name detail1 detail2")


class Reader:
    """What a screen reader hears of the engine: its accessible tree and its events."""

    def __init__(self):
        import pyatspi  # after the private session bus is set: it finds its bus at import
        self.atspi = pyatspi
        self.events = []
        self._listener = self._hear
        for event in EVENTS:
            pyatspi.Registry.registerEventListener(self._listener, event)

    def _hear(self, event):
        try:
            role, name = event.source.getRoleName(), event.source.name
        except Exception:  # gone already
            role, name = "?", "?"
        self.events.append(Heard(event.type, role, name, event.detail1, event.detail2))

    def close(self):
        for event in EVENTS:
            self.atspi.Registry.deregisterEventListener(self._listener, event)

    def application(self):
        desktop = self.atspi.Registry.getDesktop(0)
        apps = (desktop.getChildAtIndex(i) for i in range(desktop.childCount))
        return next((a for a in apps if a is not None and a.name == "CQInputKV"), None)

    def find_all(self, role):
        """The showing objects of `role` in the program's tree."""
        found = []

        def walk(node, depth):
            if node is None or depth > 8:
                return
            if node.getRole() == role and node.getState().contains(self.atspi.STATE_SHOWING):
                found.append(node)
            for i in range(node.childCount):
                walk(node.getChildAtIndex(i), depth + 1)

        walk(self.application(), 0)
        return found

    def buttons(self, name=None):
        """The push buttons showing, or those named `name`."""
        return [b for b in self.find_all(self.atspi.ROLE_PUSH_BUTTON) if name in (None, b.name)]

    def press(self, name):
        """Presses the button named `name` as a click would, once it shows; whether it did."""
        found = self.wait_for(lambda: self.buttons(name))
        if found:
            found[0].queryAction().doAction(0)
        return bool(found)

    def list(self):
        lists = self.find_all(self.atspi.ROLE_LIST)
        return lists[0] if lists else None

    def wait_for(self, condition, timeout=5.0):
        """Pumps the main context until `condition()` gives a true value; returns that value."""
        result = [None]

        def check():
            try:
                result[0] = condition()
            except Exception:  # an object gone while being read: ask again
                result[0] = None
            return bool(result[0])

        pump(check, timeout)
        return result[0]

    @staticmethod
    def items(lst):
        return [lst.getChildAtIndex(i) for i in range(lst.childCount)]

    def selected(self, lst):
        selection = lst.querySelection()
        return [selection.getSelectedChild(i).name for i in range(selection.nSelectedChildren)]

    def transcript(self):
        return [f"{e.type} [{e.role} {e.name!r}] {e.detail1} {e.detail2}" for e in self.events]


class AReaderFollowsThePanels(DesktopCase):
    @classmethod
    def setUpClass(cls):
        cls.open_desktop(AccessibleDesktop(bundles=[BUNDLE]))
        cls.reader = Reader()
        cls.addClassCleanup(cls.reader.close)

    def test_list_selection_toolbar_and_hiding(self):
        reader, atspi = self.reader, self.reader.atspi
        c = self.focused_client()
        del reader.events[:]
        c.type("a{space}")
        lst = reader.wait_for(lambda: reader.list() if reader.list() and reader.list().childCount
                              else None)
        self.assertIsNotNone(lst, "no list showing:\n" + self.desktop.engine_log())
        names = [item.name for item in reader.items(lst)]
        read = f"read: list {lst.name!r} items {names}"
        self.assertEqual(names[:2], ["1 日", "2 曰"])
        self.assertTrue(all(item.getRole() == atspi.ROLE_LIST_ITEM for item in reader.items(lst)))
        self.assertEqual(reader.selected(lst), ["1 日"])
        self.assertTrue(reader.items(lst)[0].getState().contains(atspi.STATE_SELECTED))
        pages = [label.name for label in reader.find_all(atspi.ROLE_LABEL)]
        self.assertTrue(any(p.startswith("1/") for p in pages), pages)

        # The highlight moves: the reader hears the item selected and the list's selection.
        moved = len(reader.events)
        c.type("{Down}")
        self.assertTrue(reader.wait_for(lambda: reader.selected(lst) == ["2 曰"]),
                        reader.transcript())
        heard = reader.wait_for(lambda: [
            e for e in reader.events[moved:] if e.type == "object:state-changed:selected"
            and e.detail1 == 1 and e.name == "2 曰"])
        self.assertTrue(heard, reader.transcript())
        self.assertTrue(any(e.type == "object:selection-changed" for e in reader.events[moved:]),
                        reader.transcript())

        # The toolbar's buttons say what they do, the two switches with their state.
        buttons = [b.name for b in reader.buttons()]
        self.assertEqual(buttons, ["繁／簡：繁", "半／全：半", "設定", "自建詞組", "螢幕鍵盤"])

        # Escape hides the panel: nothing of the list is left showing.
        c.type("{Escape}")
        self.assertTrue(reader.wait_for(lambda: not reader.find_all(atspi.ROLE_LIST_ITEM)),
                        reader.transcript())
        self.assertTrue(reader.wait_for(lambda: any(
            e.type == "object:children-changed:remove" for e in reader.events)),
            reader.transcript())
        print("\n".join(["", "AT-SPI reader, a Space Down Escape:",
                         f"{read}, labels {pages}, buttons {buttons}", "events:"]
                        + reader.transcript()))

    def test_a_new_page_renames_the_items_and_the_page(self):
        reader, atspi = self.reader, self.reader.atspi
        c = self.focused_client()
        c.type("zd{space}")  # a code of many pages
        lst = reader.wait_for(reader.list)
        self.assertIsNotNone(lst)
        first_page = [item.name for item in reader.items(lst)]
        since = len(reader.events)
        c.type("{Page_Down}")
        page = reader.wait_for(lambda: [label.name for label in reader.find_all(atspi.ROLE_LABEL)
                                        if label.name.startswith("2/")])
        self.assertTrue(page, reader.transcript()[since:])
        second_page = [item.name for item in reader.items(lst)]
        self.assertNotEqual(second_page, first_page)
        # Same keys, new candidates; one of them highlighted.
        self.assertTrue(second_page[0].startswith("1 "), second_page)
        self.assertEqual(len(reader.selected(lst)), 1)
        renamed = {e.name for e in reader.events[since:]
                   if e.type == "object:property-change:accessible-name"}
        self.assertIn(second_page[0], renamed, reader.transcript()[since:])
        self.assertIn(page[0], renamed)
        c.type("{Escape}")

    def test_keyboard_keys_through_the_toolbar_button(self):
        reader, atspi = self.reader, self.reader.atspi
        c = self.focused_client()
        c.type("a{space}")
        keyboard_button = reader.wait_for(lambda: reader.buttons("螢幕鍵盤"))
        self.assertTrue(keyboard_button, self.desktop.engine_log())
        # The reader presses the toolbar's button as a click would.
        action = keyboard_button[0].queryAction()
        self.assertEqual(action.getName(0), "click")
        action.doAction(0)
        keys = reader.wait_for(lambda: reader.buttons("A 日") and {b.name for b in reader.buttons()})
        self.assertTrue(keys, self.desktop.engine_log())
        self.assertTrue({"A 日", "S 尸", "空白／選字", "Backspace／刪碼", "關閉", "調整大小"} <= keys,
                        sorted(keys))
        # A key pressed through the reader types its root, as a click on it does.
        key = reader.buttons("S 尸")[0]
        extents = key.queryComponent().getExtents(atspi.DESKTOP_COORDS)
        self.assertTrue(extents.width > 10 and extents.height > 10, extents)
        key.queryAction().doAction(0)
        self.assertTrue(c.wait_for_preedit("尸"), c.preedit)
        self.assertTrue(reader.press("關閉"))
        self.assertTrue(reader.wait_for(lambda: not reader.buttons("A 日")))
        c.type("{Escape}")

    def test_a_mode_switch_is_heard_as_the_status_changing(self):
        reader, atspi = self.reader, self.reader.atspi

        def status():
            found = reader.find_all(atspi.ROLE_STATUS_BAR)
            return found[0].name if found else None

        def heard(since, modes):
            # A switch of mode hides the window, whose objects the tree then leaves out: the
            # status's change of name is heard as an event.
            return reader.wait_for(lambda: [
                e for e in reader.events[since:]
                if e.type == "object:property-change:accessible-name" and e.role == "status bar"
                and e.name == modes])

        c = self.focused_client()
        c.type("a{Escape}")
        self.assertEqual(reader.wait_for(status), "中文，繁體，半形", self.desktop.engine_log())
        since = len(reader.events)
        c.type("{Caps_Lock}")
        self.assertTrue(heard(since, "英文，繁體，半形"), reader.transcript()[since:])
        # The switch hid the window: nothing of it is left showing.
        self.assertEqual(reader.buttons() + reader.find_all(atspi.ROLE_STATUS_BAR), [])
        # Shift+Space flips the width, in English mode too.
        since = len(reader.events)
        c.press("space", extra_state=IBus.ModifierType.SHIFT_MASK)
        self.assertTrue(heard(since, "英文，繁體，全形"), reader.transcript()[since:])
        c.press("space", extra_state=IBus.ModifierType.SHIFT_MASK)
        since = len(reader.events)
        c.type("{Caps_Lock}")
        self.assertTrue(heard(since, "中文，繁體，半形"), reader.transcript()[since:])
        c.type("a")
        self.assertEqual(reader.wait_for(status), "中文，繁體，半形")
        c.type("{Escape}")

    def test_the_settings_and_words_windows_name_every_field_by_its_label(self):
        reader, atspi = self.reader, self.reader.atspi
        c = self.focused_client()

        def labelled(role):
            """{name: the texts of the labels it is labelled by} of every such field showing."""
            return {field.name: [
                target.name for relation in field.getRelationSet()
                if relation.getRelationType() == atspi.RELATION_LABELLED_BY
                for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
                for field in reader.find_all(role)}

        c.type("a{space}")
        self.assertTrue(reader.press("設定"))
        combos = reader.wait_for(lambda: labelled(atspi.ROLE_COMBO_BOX))
        self.assertEqual(combos, {"跟隨方式": ["跟隨方式"], "輸出字體": ["輸出字體"],
                                  "配色": ["配色"], "字級": ["字級"]})
        wells = labelled(atspi.ROLE_PUSH_BUTTON)
        for caption in ("背景", "文字", "輔助", "反白", "反字", "邊框"):
            self.assertEqual(wells.get(caption), [caption], wells)
        radios = {r.name: r.description for r in reader.find_all(atspi.ROLE_RADIO_BUTTON)}
        self.assertEqual(radios, {"Caps Lock（macOS 預設）": "中英文切換鍵", "Shift": "中英文切換鍵"})

        c.type("a{space}")
        self.assertTrue(reader.press("自建詞組"))
        fields = reader.wait_for(lambda: labelled(atspi.ROLE_TEXT))
        self.assertEqual(fields.get("字碼（1～6 碼）"), ["字碼（1～6 碼）"], fields)
        self.assertEqual(fields.get("詞組"), ["詞組"], fields)
        c.type("{Escape}")


if __name__ == "__main__":
    unittest.main()
