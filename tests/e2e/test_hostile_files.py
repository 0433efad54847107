# SPDX-License-Identifier: MIT
"""The input method with a FIFO, a device or a hostile line where the user's phrase file and
settings should be, through a real IBus daemon. Every key waits a bounded time for its answer:
an engine blocked in open() or eating memory fails the test instead of hanging it."""

import os
import unittest

from kvdesktop import DesktopCase, GLib, IBus, key_of, pump

ANSWER_SECONDS = 5


def phrase_file():
    return os.path.join(os.environ["XDG_DATA_HOME"], "CQ_Input_KV", "CQ_Input_KV_User.txt")


def settings_file():
    return os.path.join(os.environ["XDG_CONFIG_HOME"], "CQ_Input_KV", "defaults.conf")


def make_parent(path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


def answered(client, name):
    """Presses and releases `name`; whether the engine answered the press within the bound
    (IBus itself would wait 25 s)."""
    keyval, code, state = key_of(name)
    answers = []

    def done(context, result):
        try:
            answers.append(context.process_key_event_async_finish(result))
        except GLib.Error:
            answers.append(None)

    client.context.process_key_event_async(keyval, code, state, ANSWER_SECONDS * 1000, None,
                                           done)
    pump(lambda: answers, timeout=ANSWER_SECONDS + 1)
    client.context.process_key_event_async(keyval, code, state | IBus.ModifierType.RELEASE_MASK,
                                           ANSWER_SECONDS * 1000, None, lambda *_: None)
    return bool(answers) and answers[0] is not None


class HostileFilesCase(DesktopCase):
    """One desktop per class: libibus keeps one bus per process. `put(path)` makes the hostile
    thing at the phrase file's and the settings' paths before the engine starts."""

    @classmethod
    def setUpClass(cls):
        cls.open_desktop()
        cls.put(make_parent(phrase_file()))
        cls.put(make_parent(settings_file()))
        cls.client = cls.desktop.client()
        cls.client.focus_in()
        cls.client.cursor_at(200, 300)
        cls.select_engine()

    def types(self, keys):
        for key in keys:
            self.assertTrue(answered(self.client, key),
                            f"no answer to {key!r}: {self.desktop.engine_log()}")

    def assert_still_typing(self):
        self.types(["a"])
        self.assertTrue(self.client.wait_for_preedit("日"), self.desktop.engine_log())
        self.types(["Escape"])

    def assert_refused_and_typing(self):
        self.assert_still_typing()
        # The typed command "cqadd" opens the words window, which lists the phrase file.
        self.types(["c", "q", "a", "d", "d", "space"])
        pump(timeout=0.5)
        self.assert_still_typing()
        log = self.desktop.engine_log()
        self.assertIn("refused the user dictionary " + phrase_file() +
                      ": the path is not a regular file", log)
        self.assertIn("the settings file " + settings_file() + " is refused", log)


class FifosWhereFilesShouldBe(HostileFilesCase):
    put = staticmethod(os.mkfifo)

    def test_fifos_as_phrases_and_settings_never_block_a_key(self):
        # Before, the settings FIFO blocked the first key, and the phrase FIFO every key once
        # the words window opened.
        self.assert_refused_and_typing()
        self.assertIn("is refused: the path is not a regular file", self.desktop.engine_log())

        # A hostile line in its place: the log gets neither its raw bytes nor its megabytes.
        os.remove(phrase_file())
        with open(phrase_file(), "wb") as f:
            f.write(b"a\x1b]0;owned\x07\x00" + b"q" * (10 << 20) + b" x\n")
        self.client.focus_out()
        self.client.focus_in()
        self.assertTrue(pump(lambda: "bytes long" in self.desktop.engine_log(), timeout=5),
                        self.desktop.engine_log())
        with open(self.desktop.log_path, "rb") as f:
            raw = f.read()
        for control in (b"\x1b", b"\x00", b"\x07"):
            self.assertNotIn(control, raw)
        self.assertLess(len(raw), 4096)
        self.assertIn(b'the code "a\\x1B]0;owned\\x07\\x00qqq', raw)
        self.assertIn(b'qq"... (10485772 bytes) is not 1 to 6 bytes long', raw)
        self.assert_still_typing()


class DevicesWhereFilesShouldBe(HostileFilesCase):
    @staticmethod
    def put(path):
        os.symlink("/dev/zero", path)

    def test_dev_zero_as_phrases_and_settings_is_refused_not_read(self):
        # Before, /dev/zero as the phrase file ended the engine with bad_alloc once the words
        # window opened, and as the settings it took 1.2 GB.
        self.assert_refused_and_typing()


if __name__ == "__main__":
    unittest.main()
