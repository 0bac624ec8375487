"""Faults around the real Morrowick.exe: its registry key deleted while it runs, the
taskbar restarted under it, and a second copy started beside it."""

import time

from test_monitoring_prompt import TIP_ON, TrayCase
from wine_case import winenv

KEY = winenv.PROGRAM_KEY


def coming_minute(seconds_ahead):
    """The daily schedule text of the minute `seconds_ahead` from now, waiting for the
    next minute when that one ends too soon for a tick to fall into it."""
    due = time.localtime(time.time() + seconds_ahead)
    if due.tm_sec >= 45:
        time.sleep(61 - due.tm_sec)
        due = time.localtime(time.time() + seconds_ahead)
    return "每天%d时%d分" % (due.tm_hour, due.tm_min)


class FaultTest(TrayCase):
    def key_exists(self):
        out = self.s.run([winenv.exe("mwreg.exe"), "dump", KEY], check=False)
        return "no key" not in out

    def our_icons(self):
        return [i for i in self.tray_icons() if i["tip"].startswith("Morrowick-")]

    def prompt_labels(self):
        out = []
        for w in self.s.windows("TForm6"):
            out += [line.split("\t")[3] for line in self.s.helper("children", w["hwnd"], check=False)
                    if line.split("\t")[1] == "Static"]
        return out

    def test_program_key_deleted_while_running_is_made_again_by_the_next_tick(self):
        # One slot in memory, not due now: the walk reads A1 at every tick.
        hour = (time.localtime().tm_hour + 12) % 24
        self.s.seed({}, [("每天%d时0分" % hour, "提醒", "不会")])
        app = self.start()
        self.s.reg_delete_key(r"HKLM\Software\Quorvane")
        self.assertFalse(self.key_exists())
        # The tick opens the key, creating it, and reads A1 as missing: no error.
        self.wait_until(self.key_exists, 15, "no tick made the program key again")
        self.assertEqual(self.s.reg_dump(KEY), {}, "the tick wrote to the store")
        # A task stored now in the new key is found by the following ticks.
        minute = coming_minute(12)
        self.s.reg_text(KEY, "A1", minute)
        self.s.reg_text(KEY, "B1", "提醒")
        self.s.reg_text(KEY, "C1", "钥匙又在了")
        self.wait_until(lambda: "钥匙又在了" in self.prompt_labels(), 30, "the reminder was not shown")
        self.assertEqual(self.s.windows("#32770"), [])
        self.assertTrue(app.running())

    def test_taskbar_restart_brings_the_icon_back_with_its_picture_and_tip(self):
        app = self.start(relay=["shell32.Shell_NotifyIconA"])
        hwnd = self.resident()["hwnd"]
        icon = self.our_icon(TIP_ON)
        self.assert_green(icon)
        self.s.run([winenv.exe("traytip.exe"), "forget", hwnd, "100"])
        self.assertTrue(self.s.wait_for(lambda: not self.our_icons(), 5), "the icon was not removed")
        mark = len(app.calls("Shell_NotifyIconA"))
        self.s.helper("post", "broadcast", "TaskbarCreated", "0", "0")
        self.wait_until(lambda: app.calls("Shell_NotifyIconA")[mark:], 10, "no NIM_ADD after TaskbarCreated")
        icon = self.our_icon(TIP_ON)
        self.assert_green(icon)
        self.shot_with_tip(icon, "tray-readded-after-taskbar-restart")
        # A second broadcast while the icon is there leaves one icon.
        self.s.helper("post", "broadcast", "TaskbarCreated", "0", "0")
        time.sleep(1)
        self.assertEqual(len(self.our_icons()), 1)
        self.assertTrue(app.running())

    def test_second_copy_shows_a_second_icon_and_leaves_the_store_alone(self):
        self.s.seed({"tishi": 90, "shutapp": 1, "soundpath": "C:\\warn.wav"},
                    [("每天3时0分", "提醒", "一"), ("每周1日4时0分", "关闭计算机", "")])
        before = self.s.reg_dump(KEY)
        first = self.start()
        self.wait_until(lambda: len(self.our_icons()) == 1, 10, "the first copy shows no icon")
        second = self.start()
        residents = self.wait_until(lambda: len(self.s.windows("TForm1")) == 2 and self.s.windows("TForm1"), 20,
                                    "no second resident window")
        self.assertEqual(len({w["pid"] for w in residents}), 2)
        self.wait_until(lambda: len(self.our_icons()) == 2, 10, "the tray does not show two icons: %r" % self.tray_icons())
        self.shot("two-copies-two-icons")
        time.sleep(12)  # a tick of each
        self.assertEqual(self.s.reg_dump(KEY), before)
        self.assertEqual(self.s.windows("#32770"), [])
        # Closing one copy leaves the other running with its icon.
        self.s.helper("close", residents[0]["hwnd"])
        self.wait_until(lambda: not first.running() or not second.running(), 15, "neither copy ended")
        closed, other = (first, second) if not first.running() else (second, first)
        self.assertFalse(closed.running())
        self.assertTrue(other.running())
        self.wait_until(lambda: len(self.our_icons()) == 1, 10, "the remaining copy lost its icon")
        self.assertEqual(self.s.reg_dump(KEY), before)
