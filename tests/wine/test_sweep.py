"""The close-all sweep before a standby countdown, on the real Morrowick.exe, against a
program with one window of each kind the sweep tells apart."""

import os
import time

from wine_case import WineCase, daily_text_for_first_tick, winenv


class SweepTest(WineCase):
    def tearDown(self):
        super().tearDown()
        self.s.ensure_desktop()

    def test_standby_countdown_closes_exactly_the_visible_and_minimised_windows_of_others(self):
        log = os.path.join(self.s.root, "sweep-%d.log" % int(time.time()))
        helper = self.s.start_app(program=winenv.exe("sweepwindows.exe"),
                                  args=["Z:" + log.replace("/", "\\")])
        self.addCleanup(helper.proc.wait)
        self.addCleanup(helper.proc.kill)
        self.wait_until(lambda: len([w for w in self.s.windows("MwSweep")]) >= 6, 20, "helper windows missing")

        minute = daily_text_for_first_tick()
        self.s.seed({"shutapp": 1, "tishi": 20}, [(minute, "提醒", "别关我"), (minute, "待机计算机", "")])
        app = self.start(relay=["user32.PostMessageA", "kernel32.SetSystemPowerState"])
        self.wait_windows("TForm1", 1, 40)  # the countdown, worded for standby
        self.wait_windows("TForm6", 1, 10)
        self.wait_until(lambda: os.path.exists(log) and len(open(log).read().split("\n")) > 2, 10,
                        "the sweep asked nothing")
        time.sleep(1)
        closed = sorted(open(log).read().split())
        self.assertEqual(closed, sorted(["visible", "0", "0", "minimised", "0", "0"]))

        # None of Morrowick's own windows was asked: its prompt and countdown stay.
        own = {w["hwnd"] for w in self.s.windows() if w["pid"] == self.s.windows("TForm1")[0]["pid"]}
        posted = [a for _, a in app.calls("PostMessageA") if a[1] == "00000010"]
        self.assertEqual(len(posted), 2)
        self.assertFalse({"0x" + a[0].lower().rjust(8, "0") for a in posted} & {h.lower() for h in own})
        self.assertTrue([w for w in self.s.windows("TForm6") if w["visible"]])

        resident = self.wait_windows("TForm1", 1, 5)[0]
        self.s.helper("click", resident["hwnd"], "取消待机")
        self.assertEqual(app.calls("SetSystemPowerState"), [])
