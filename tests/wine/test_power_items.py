"""The tray menu's power items on the real Morrowick.exe: each makes exactly its call at
once, with no countdown, sound or closing of other programs, also while monitoring is off."""

import time

from test_tray_menu import SELECTABLE, MenuDriver
from wine_case import WineCase

POWER_CALLS = ["user32.ExitWindowsEx", "kernel32.SetSystemPowerState", "ntdll.NtShutdownSystem",
               "winmm.PlaySoundA", "user32.PostMessageA"]

# (caption, the call, its arguments as relay words)
ITEMS = [
    ("注销(&L)", "ExitWindowsEx", ["00000004", "00000000"]),
    ("待机(&W)", "SetSystemPowerState", ["00000001", "00000001"]),
    ("休眠(&S)", "SetSystemPowerState", ["00000000", "00000001"]),
    ("重启(&R)", "ExitWindowsEx", ["00000006", "00000000"]),
    ("关机(&U)", "ExitWindowsEx", ["0000000c", "00000000"]),
    ("快速重启(&I)", "NtShutdownSystem", ["00000001"]),
    ("快速关机(&Q)", "NtShutdownSystem", ["00000002"]),
]


class PowerItemsTest(MenuDriver, WineCase):
    def tearDown(self):
        super().tearDown()
        # A forced log-off or shutdown under Wine ends the desktop's programs too.
        self.s.restart()

    def power_calls(self, app):
        return [(fn.split(".")[1], [a.lower() for a in args]) for fn, args in app.calls()
                if fn.split(".")[1] in ("ExitWindowsEx", "SetSystemPowerState", "NtShutdownSystem")]

    def run_item(self, caption, settings=None, monitoring_off=False):
        # shutapp 1 and a sound set: neither may show up in an immediate power item.
        self.s.seed(dict({"shutapp": 1, "soundpath": "C:\\windows\\media\\ding.wav"}, **(settings or {})), [])
        app = self.start(relay=POWER_CALLS)
        if monitoring_off:
            self.choose("启用监控(&E)")
            items = [l.split("\t") for l in self.open_menu()]
            self.assertEqual(items[0][4], "0", "monitoring still checked")
            self.s.helper("key", self.resident()["hwnd"], "ESCAPE")
        # The log-off item carries the user name after its caption.
        self.choose(next(c for c in SELECTABLE if c.startswith(caption)))
        self.wait_until(lambda: self.power_calls(app), 20, "no power call for " + caption)
        time.sleep(1)
        return app

    def test_each_power_item_makes_exactly_its_call(self):
        for caption, fn, args in ITEMS:
            with self.subTest(caption):
                app = self.run_item(caption)
                self.assertEqual(self.power_calls(app), [(fn, args)])
                self.assertEqual(app.calls("PlaySoundA"), [])
                self.assertEqual([a for _, a in app.calls("PostMessageA") if a[1] == "00000010"], [],
                                 "no WM_CLOSE sweep")
                self.assertFalse([w for w in self.s.windows("TForm1") if w["visible"]], "no countdown window")
                for a in self.apps:
                    a.stop()
                self.apps.clear()
                self.s.restart()

    def test_a_power_item_acts_while_monitoring_is_off(self):
        app = self.run_item("关机(&U)", monitoring_off=True)
        self.assertEqual(self.power_calls(app), [("ExitWindowsEx", ["0000000c", "00000000"])])
