"""Bad stored values on the real Morrowick.exe: the cases that cross the Win32 registry
adapter in different ways (a text without its terminating NUL, a value of the wrong
type, a text of 1 MiB, a count stored as binary, bytes that are no GBK, the autostart
entry as a DWORD). Each gives the exact error report (a message box of class #32770,
caption "Morrowick", the text with its full stop) or the sound behaviour, the program
keeps running, and the store holds afterwards what it held before.

The full matrix runs on the host over the in-memory registry; this is the subset that
needs the real registry functions."""

import os
import time

from wine_case import WineCase, daily_text_for_first_tick, winenv

KEY = winenv.PROGRAM_KEY
RUN = winenv.RUN_KEY
REG_SZ, REG_BINARY, REG_DWORD = 1, 3, 4
EDIT8 = 106  # the settings window's sound box (controls are numbered from 100 in creation order)
SETTINGS_BUTTON2 = 113


def hex_of(data):
    return data.hex()


class BadInputTest(WineCase):
    # ---- set-up ----
    def seed_with(self, tasks=(), settings=None, raw=()):
        """A clean store, then the raw values (key, name, type, bytes) written over it;
        returns the store as it is then: program key and Run key."""
        self.s.seed(settings, tasks)
        self.s.reg_delete(RUN, "Pellidor")
        for key, name, type_, data in raw:
            self.s.reg_raw(key, name, type_, hex_of(data))
        return self.store()

    def store(self):
        return {"program": self.s.reg_dump(KEY), "run": self.s.reg_dump(RUN)}

    def import_reg(self, text):
        """Writes values through the system's own import: for data too long for a command line."""
        path = os.path.join(self.s.prefix, "drive_c", "morrowick-bad-input.reg")
        with open(path, "wb") as f:
            f.write(text.encode("ascii"))
        self.s.run(["reg", "import", "C:\\morrowick-bad-input.reg"], timeout=120)

    # ---- what the program shows ----
    def error_report(self, text, timeout=25):
        """The error report with exactly this text (and its full stop)."""
        def found():
            for box in self.s.windows("#32770"):
                if box["title"] != "Morrowick":
                    continue
                texts = [line.split("\t")[3] for line in self.s.helper("children", box["hwnd"], check=False)]
                if text + "." in texts:
                    return box
            return None
        box = self.s.wait_for(found, timeout)
        self.assertTrue(box, "no error report %r; message boxes: %r" % (text + ".", self.s.windows("#32770")))
        return box

    def prompt_labels(self):
        out = []
        for w in self.s.windows("TForm6"):
            if w["visible"]:
                out += [line.split("\t")[3] for line in self.s.helper("children", w["hwnd"], check=False)
                        if line.split("\t")[1] == "Static"]
        return out

    def wait_prompt(self, predicate, timeout=30):
        return self.wait_until(lambda: [t for t in self.prompt_labels() if predicate(t)], timeout,
                               "no prompt as expected: %r" % self.prompt_labels())

    def open_settings(self):
        hwnd = self.s.windows("TForm1")[0]["hwnd"]
        self.s.helper("post", hwnd, "1025", "100", "513")
        self.wait_until(lambda: [w for w in self.s.windows("#32768") if w["visible"]], 10, "no tray menu")
        self.s.helper("key", hwnd, "DOWN", "DOWN", "RETURN")
        return self.wait_windows("TForm3", 1, 15)[0]["hwnd"]

    def control_text(self, window, cid):
        for line in self.s.helper("children", window):
            f = line.split("\t")
            if int(f[2]) == cid:
                return f[3]
        return None

    def assert_store_unchanged(self, before, app):
        self.assertTrue(app.running(), "the program ended")
        self.assertEqual(self.store(), before)

    # ---- the cases ----
    def test_sound_path_stored_without_its_nul_is_read_whole(self):
        before = self.seed_with(raw=[(KEY, "soundpath", REG_SZ, b"C:\\warn.wav")])
        app = self.start()
        settings = self.open_settings()
        self.assertEqual(self.control_text(settings, EDIT8), "C:\\\\warn.wav")
        self.s.helper("clickid", settings, str(SETTINGS_BUTTON2))
        self.wait_until(lambda: not self.s.windows("TForm3"), 10, "the settings window did not close")
        self.assertEqual(self.s.windows("#32770"), [])
        self.assert_store_unchanged(before, app)

    def test_schedule_stored_without_its_nul_is_due(self):
        minute = daily_text_for_first_tick()
        before = self.seed_with([(minute, "提醒", "无结尾")], raw=[(KEY, "A1", REG_SZ, minute.encode("gbk"))])
        app = self.start()
        self.wait_prompt(lambda t: t == "无结尾")
        self.assertEqual(self.s.windows("#32770"), [])
        self.assert_store_unchanged(before, app)

    def test_schedule_stored_as_dword_is_reported_and_ends_the_tick_at_its_slot(self):
        minute = daily_text_for_first_tick()
        before = self.seed_with([(minute, "提醒", "一"), (minute, "提醒", "二")],
                                raw=[(KEY, "A1", REG_DWORD, (1).to_bytes(4, "little"))])
        app = self.start()
        box = self.error_report("Invalid data type for 'A1'")
        self.shot("bad-input-a1-dword")
        self.assertEqual(self.prompt_labels(), [], "a later slot ran after the failing one")
        self.s.helper("close", box["hwnd"], check=False)
        self.assert_store_unchanged(before, app)

    def test_reminder_text_of_one_mebibyte_is_shown(self):
        minute = daily_text_for_first_tick(margin=25)
        before_seed = self.seed_with([(minute, "提醒", "")])
        text = "drink" + "x" * ((1 << 20) - 5)
        self.import_reg('REGEDIT4\r\n\r\n[%s]\r\n"C1"="%s"\r\n' % (
            KEY.replace("HKLM", "HKEY_LOCAL_MACHINE"), text))
        before = self.store()
        self.assertEqual(before["program"]["C1"]["size"], len(text) + 1)
        self.assertNotEqual(before, before_seed)
        app = self.start()
        shown = self.wait_prompt(lambda t: t.startswith("drinkxxxx"), 40)
        self.assertEqual(len(shown[0]), len(text))
        self.assertTrue(shown[0] == text, "the prompt shows another text")
        self.assertEqual(self.s.windows("#32770"), [])
        self.assert_store_unchanged(before, app)

    def test_task_count_stored_as_binary_is_reported_at_start(self):
        before = self.seed_with(raw=[(KEY, "TaskNum", REG_BINARY, (1).to_bytes(4, "little"))])
        app = self.start()
        box = self.error_report("Invalid data type for 'TaskNum'")
        self.s.helper("close", box["hwnd"], check=False)
        time.sleep(1)
        self.assert_store_unchanged(before, app)

    def test_schedule_of_bytes_that_are_no_gbk_is_not_due_and_the_next_slot_runs(self):
        minute = daily_text_for_first_tick()
        before = self.seed_with([("", "提醒", "不会"), (minute, "提醒", "下一个")],
                                raw=[(KEY, "A1", REG_SZ, b"\x80\xff" + minute.encode("gbk") + b"\0")])
        app = self.start()
        self.wait_prompt(lambda t: t == "下一个")
        time.sleep(1)
        self.assertEqual([t for t in self.prompt_labels() if t == "不会"], [])
        self.assertEqual(self.s.windows("#32770"), [])
        self.assert_store_unchanged(before, app)

    def test_autostart_entry_stored_as_dword_is_reported_when_the_settings_window_opens(self):
        before = self.seed_with(raw=[(RUN, "Pellidor", REG_DWORD, (1).to_bytes(4, "little"))])
        app = self.start()
        settings = self.open_settings()
        box = self.error_report("Invalid data type for 'Pellidor'")
        self.shot("bad-input-pellidor-dword")
        self.s.helper("close", box["hwnd"], check=False)
        self.s.helper("clickid", settings, str(SETTINGS_BUTTON2))
        self.wait_until(lambda: not self.s.windows("TForm3"), 10, "the settings window did not close")
        self.assert_store_unchanged(before, app)
