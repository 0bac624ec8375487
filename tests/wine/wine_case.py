"""The base of the Wine tests: one Wine session for the whole run (set by the runner),
and the real Morrowick.exe started afresh per test."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "scripts"))
import winenv  # noqa: E402,F401

SESSION = None
SHOTS = os.path.join(winenv.TOP, "build", "screenshots")


class WineCase(unittest.TestCase):
    @property
    def s(self):
        return SESSION

    def setUp(self):
        if SESSION is None:
            self.skipTest("no Wine session")
        self.apps = []
        SESSION.reg_delete_key(r"HKLM\Software\Quorvane")

    def tearDown(self):
        for app in self.apps:
            app.stop()
        # Leftover windows of helper programs must not leak into the next test.
        for w in SESSION.windows():
            if w["cls"] in ("TForm6", "TForm2", "TForm3", "TForm5", "#32770"):
                SESSION.helper("close", w["hwnd"], check=False)

    def start(self, **kw):
        app = SESSION.start_app(**kw)
        self.apps.append(app)
        return app

    def shot(self, name):
        return SESSION.screenshot(os.path.join(SHOTS, name + ".png"))

    def wait_windows(self, cls, count=1, timeout=20, visible=True):
        def ready():
            ws = [w for w in SESSION.windows(cls) if w["visible"] or not visible]
            return ws if len(ws) >= count else None
        ws = SESSION.wait_for(ready, timeout)
        self.assertTrue(ws, "no %d visible %s window(s)" % (count, cls))
        return ws

    def wait_until(self, fn, timeout=20, msg="condition not met"):
        value = SESSION.wait_for(fn, timeout)
        self.assertTrue(value, msg)
        return value


def daily_text_for_first_tick(margin=8):
    """The daily schedule text of the minute in which a program started now has its first
    tick (about ten seconds after its start); waits for the next minute when the tick
    could fall within `margin` seconds of the end of this one (more for a slow set-up)."""
    due = time.localtime(time.time() + 11)
    if due.tm_sec >= 60 - margin:
        time.sleep(61 - due.tm_sec)
        due = time.localtime(time.time() + 11)
    return "每天%d时%d分" % (due.tm_hour, due.tm_min)
