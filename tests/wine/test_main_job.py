"""The main job of the real Morrowick.exe, end to end: tasks written into the store
before start are found due by the scheduler tick, a reminder opens its prompt, a
shutdown task turns the resident window into the countdown window, and the count is
cancelled, acted on or left to run out, with the exact calls seen in Wine's relay trace.

Exact timings are the simulation tests' business; these tests seed their schedules
for the minute in which the program's first tick falls."""

import os
import re
import subprocess
import time
import wave

from wine_case import WineCase, daily_text_for_first_tick, winenv

RELAY = ["shell32.Shell_NotifyIconA", "user32.ExitWindowsEx", "winmm.PlaySoundA", "user32.MessageBoxA"]
SOUND = "morrowick-warn.wav"
TITLE = "Windows 正在准备关机..."
NIM_ADD, NIM_MODIFY, NIM_DELETE = "00000000", "00000001", "00000002"


class MainJobTest(WineCase):
    def setUp(self):
        super().setUp()
        self.ends_session = False

    def tearDown(self):
        super().tearDown()
        if self.ends_session:
            self.s.restart()

    # ---- set-up ----
    def make_sound(self):
        """A real, short .wav file in the prefix's drive C:, as the settings window stores it."""
        path = os.path.join(self.s.prefix, "drive_c", SOUND)
        with wave.open(path, "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(1)
            w.setframerate(8000)
            w.writeframes(bytes(128 + (40 if (i // 20) % 2 else -40) for i in range(4000)))
        return "C:\\" + SOUND

    def start_with(self, tasks, tishi=30, soundpath=""):
        self.s.seed({"tishi": tishi, "soundpath": soundpath}, tasks)
        return self.start(relay=RELAY)

    def wait_countdown(self, timeout=40):
        """The resident window shown as the countdown window."""
        ws = self.wait_until(lambda: [w for w in self.s.windows("TForm1") if w["visible"] and w["title"] == TITLE],
                             timeout, "no countdown window")
        return ws[0]

    def wait_hidden(self, timeout=10):
        self.wait_until(lambda: [w for w in self.s.windows("TForm1") if not w["visible"]], timeout,
                        "the countdown window stayed on screen")

    def controls(self, hwnd):
        """The countdown window's controls by class and id order: (class, text, details) rows."""
        rows = []
        for line in self.s.helper("children", hwnd):
            f = line.split("\t")
            rows.append(dict(cls=f[1], id=int(f[2]), text=f[3], visible=f[4] == "1",
                             rect=tuple(int(x) for x in f[6:10]), details=f[12] if len(f) > 12 else ""))
        return sorted(rows, key=lambda r: r["id"])

    @staticmethod
    def sound_calls(app):
        return app.calls("PlaySoundA")

    @staticmethod
    def notify_ops(app):
        return [args[0] for _, args in app.calls("Shell_NotifyIconA")]

    def tray_tips(self):
        out = self.s.run([winenv.exe("traytip.exe"), "list"], check=False)
        return [line.split("\t")[-1] for line in out.split("\n") if line]

    # ---- the typical task, cancelled ----
    def test_due_reminder_and_shutdown_show_the_prompt_and_the_countdown_and_cancel_turns_monitoring_off(self):
        sound = self.make_sound()
        minute = daily_text_for_first_tick()
        app = self.start_with([(minute, "提醒", "该喝水了"), (minute, "关闭计算机", "")], tishi=30, soundpath=sound)
        resident = self.wait_countdown()

        prompts = self.wait_windows("TForm6", 1, 10)
        self.assertEqual(prompts[0]["title"], "提示")
        self.assertIn("该喝水了", [r["text"] for r in self.controls(prompts[0]["hwnd"])])

        label1, label2, bar, act, cancel = self.controls(resident["hwnd"])
        self.assertEqual((label1["cls"], label1["text"]), ("Static", "要想取消关机，请按下<取消关机>按钮:剩余"))
        self.assertEqual(label2["cls"], "Static")
        self.assertRegex(label2["text"], r"^\d+ 秒$")
        self.assertEqual(bar["cls"], "msctls_progress32")
        self.assertIn("max=30", bar["details"])
        self.assertEqual((act["cls"], act["text"]), ("Button", "立即关机"))
        self.assertEqual((cancel["cls"], cancel["text"]), ("Button", "取消关机"))
        self.assertTrue(int(resident["exstyle"], 16) & 0x8, "stays on top")

        # Mid-count: the bar has moved and the seconds left went down.
        self.wait_until(lambda: int(re.search(r"pos=(\d+)", self.controls(resident["hwnd"])[2]["details"]).group(1)) >= 4,
                        10, "the bar did not advance")
        self.shot("countdown-mid-count")
        left = int(self.controls(resident["hwnd"])[1]["text"].split()[0])
        self.assertTrue(20 <= left <= 26, left)

        # The sound loops from the start: the file, the resident window, SND_FILENAME|SND_LOOP|SND_ASYNC.
        calls = self.sound_calls(app)
        self.assertEqual(len(calls), 1)
        self.assertEqual(int(calls[0][1][1], 16), int(resident["hwnd"], 16))
        self.assertEqual(calls[0][1][2], "00020009")

        self.s.helper("click", resident["hwnd"], "取消关机")
        self.wait_hidden()
        # Monitoring off through the switch, then the disabled icon once more: NIM_MODIFY twice.
        self.assertEqual(self.notify_ops(app), [NIM_ADD, NIM_MODIFY, NIM_MODIFY])
        calls = self.sound_calls(app)
        self.assertEqual([c[1][2] for c in calls], ["00020009", "00000000"])
        # The loop is ended with no sound given: flags 0 with the path would play it once more.
        self.assertEqual(calls[1][1], ["00000000", "00000000", "00000000"])
        self.assertIn("Morrowick-禁用", self.tray_tips())
        self.assertEqual(app.calls("ExitWindowsEx"), [])
        self.assertTrue(app.running())

    # ---- the count runs out ----
    def test_count_runs_out_while_minimised_and_shuts_down_with_power_off_and_force(self):
        self.ends_session = True
        sound = self.make_sound()
        app = self.start_with([(daily_text_for_first_tick(), "关闭计算机", "")], tishi=6, soundpath=sound)
        resident = self.wait_countdown()
        self.s.helper("post", resident["hwnd"], "0x112", "0xF020", "0")  # WM_SYSCOMMAND, SC_MINIMIZE
        self.wait_until(lambda: [w for w in self.s.windows("TForm1") if int(w["style"], 16) & 0x20000000], 4,
                        "the countdown window was not minimised")  # WS_MINIMIZE
        self.assertEqual(app.calls("ExitWindowsEx"), [])
        self.wait_until(lambda: app.calls("ExitWindowsEx"), 20, "the count did not run out")
        self.assertEqual(app.calls("ExitWindowsEx"), [("user32.ExitWindowsEx", ["0000000c", "00000000"])])
        # The loop is ended at the run-out too, before the action.
        self.assertEqual([c[1][2] for c in self.sound_calls(app)], ["00020009", "00000000"])
        log = app.log()
        self.assertLess(log.index("winmm.PlaySoundA(00000000,00000000,00000000)"),
                        log.index("Call user32.ExitWindowsEx"))
        self.assertTrue(app.wait_exit(30), "the session did not end")

    # ---- keyboard and close box ----
    def test_escape_cancels(self):
        app = self.start_with([(daily_text_for_first_tick(), "关闭计算机", "")])
        resident = self.wait_countdown()
        self.s.helper("key", resident["hwnd"], "ESCAPE")
        self.wait_hidden()
        self.assertEqual(self.notify_ops(app), [NIM_ADD, NIM_MODIFY, NIM_MODIFY])
        # Cancel ends the sound whether or not one is set.
        self.assertEqual([c[1][2] for c in self.sound_calls(app)], ["00000000"])
        self.assertEqual(app.calls("ExitWindowsEx"), [])

    def test_enter_at_first_presses_the_cancel_button(self):
        # When the window comes up the focus is on BitBtn2 or on no button at all (Wine
        # does either): both ways Enter presses BitBtn2.
        app = self.start_with([(daily_text_for_first_tick(), "关闭计算机", "")])
        resident = self.wait_countdown()
        self.s.helper("key", resident["hwnd"], "RETURN")
        self.wait_hidden()
        self.assertEqual(self.notify_ops(app), [NIM_ADD, NIM_MODIFY, NIM_MODIFY])
        self.assertEqual(app.calls("ExitWindowsEx"), [])

    def test_enter_presses_the_focused_button_and_the_cancel_button_comes_first_in_the_tab_order(self):
        self.ends_session = True
        app = self.start_with([(daily_text_for_first_tick(), "关闭计算机", "")])
        resident = self.wait_countdown()
        # The first Tab focuses BitBtn2, the second BitBtn1; Enter then acts at once.
        self.s.helper("key", resident["hwnd"], "TAB", "TAB", "RETURN")
        self.wait_until(lambda: app.calls("ExitWindowsEx"), 10, "BitBtn1 was not pressed")
        self.assertEqual(app.calls("ExitWindowsEx"), [("user32.ExitWindowsEx", ["0000000c", "00000000"])])
        self.assertEqual(self.notify_ops(app), [NIM_ADD])
        self.assertEqual(self.sound_calls(app), [])  # no sound set: acting at once makes no sound call
        self.assertTrue(app.wait_exit(30), "the session did not end")

    def test_close_box_ends_the_program_without_performing_anything(self):
        app = self.start_with([(daily_text_for_first_tick(), "关闭计算机", "")], tishi=8)
        resident = self.wait_countdown()
        self.s.helper("close", resident["hwnd"])
        self.assertTrue(app.wait_exit(15))
        self.assertEqual(self.notify_ops(app), [NIM_ADD, NIM_DELETE])
        self.assertEqual(app.calls("ExitWindowsEx"), [])

    # ---- a failure at every tick ----
    def test_a_failure_at_every_tick_is_reported_once_at_a_time_and_blocks_the_higher_slots(self):
        app = self.start_with([("空闲分钟", "提醒", "bad"), (daily_text_for_first_tick(), "提醒", "never")])
        text = "'' is not a valid integer value."
        box = self.wait_windows("#32770", 1, 25)[0]
        self.assertEqual(box["title"], "Morrowick")
        self.assertIn(text, [r["text"] for r in self.controls(box["hwnd"])])
        time.sleep(11)  # at least one more tick, which fails again while the report is open
        boxes = [w for w in self.s.windows("#32770") if w["visible"]]
        self.assertEqual(len(boxes), 1)
        self.assertEqual(len(app.calls("MessageBoxA")), 1)
        self.s.helper("click", box["hwnd"], "确定", check=False)
        self.wait_until(lambda: len(app.calls("MessageBoxA")) == 2, 15, "the next tick reported nothing")
        self.assertEqual(self.s.windows("TForm6"), [])
        self.assertTrue(app.running())
