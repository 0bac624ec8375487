"""Start-up, the store on first and later starts, the tray icon and its callback,
the taskbar's re-creation and the end of the process, on the real Morrowick.exe."""

import time

from wine_case import WineCase, winenv

KEY = winenv.PROGRAM_KEY
STARTUP_CALLS = ["advapi32.AdjustTokenPrivileges", "advapi32.OpenProcessToken",
                 "advapi32.LookupPrivilegeValueA", "shell32.Shell_NotifyIconA",
                 "user32.SetWindowPos", "advapi32.RegSetValueExA", "advapi32.RegCreateKeyExA",
                 "user32.MessageBoxA", "advapi32.GetUserNameA"]


class StartupTest(WineCase):
    def test_first_start_writes_the_defaults_under_local_machine_only(self):
        self.s.reg_delete_key(r"HKCU\Software\Quorvane")
        app = self.start()
        values = self.wait_until(lambda: len(self.s.reg_dump()) == 4 and self.s.reg_dump(), 10)
        self.assertEqual({k: (v["type"], v["hex"]) for k, v in values.items()}, {
            "shutapp": (4, "00000000"),
            "soundpath": (1, "00"),
            "tishi": (4, "3c000000"),
            "TaskNum": (4, "00000000"),
        })
        self.assertEqual(self.s.reg_dump(r"HKCU\Software\Quorvane\Morrowick"), {})
        self.assertTrue(app.running())

    def test_start_with_all_values_present_writes_nothing(self):
        self.s.seed({"shutapp": 1, "soundpath": "C:\\声音.wav", "tishi": 90}, [])
        app = self.start(relay=STARTUP_CALLS)
        time.sleep(1)
        self.assertEqual(app.calls("RegSetValueExA"), [])
        creates = app.calls("RegCreateKeyExA")
        self.assertTrue(creates)
        # HKEY_LOCAL_MACHINE, the path without its leading backslash, KEY_ALL_ACCESS.
        self.assertEqual(creates[0][1][0], "80000002")
        self.assertIn('"Software\\\\Quorvane\\\\Morrowick"', app.log())
        self.assertIn("000f003f", creates[0][1])
        self.assertEqual(self.s.reg_dump()["soundpath"]["text"], "C:\\声音.wav")

    def test_partial_presence_writes_only_the_missing_values(self):
        self.s.reg_dword(KEY, "tishi", 10)
        self.s.reg_text(KEY, "soundpath", "x.wav")
        self.start()
        values = self.wait_until(lambda: len(self.s.reg_dump()) == 4 and self.s.reg_dump(), 10)
        self.assertEqual(values["tishi"]["hex"], "0a000000")
        self.assertEqual(values["soundpath"]["text"], "x.wav")
        self.assertEqual(values["shutapp"]["hex"], "00000000")
        self.assertEqual(values["TaskNum"]["hex"], "00000000")

    def test_start_up_calls_carry_the_designed_arguments(self):
        app = self.start(relay=STARTUP_CALLS)
        time.sleep(1)
        adjust = app.calls("AdjustTokenPrivileges")
        self.assertEqual(len(adjust), 1)
        args = adjust[0][1]
        self.assertEqual((args[1], args[3], args[4]), ("00000000", "00000010", "00000000"))
        self.assertEqual(app.calls("OpenProcessToken")[0][1][1], "00000028")
        self.assertIn('"SeShutdownPrivilege"', app.log())
        notify = app.calls("Shell_NotifyIconA")
        self.assertEqual([c[1][0] for c in notify], ["00000000"])  # NIM_ADD once
        hwnd = int(self.resident()["hwnd"], 16)
        topmost = [a for _, a in app.calls("SetWindowPos")
                   if int(a[0], 16) == hwnd and a[1].lower() == "ffffffff"]
        self.assertEqual(len(topmost), 1)
        self.assertEqual([x.lower() for x in topmost[0][1:]], ["ffffffff"] + ["00000000"] * 4 + ["00000003"])

    def resident(self):
        ws = self.s.windows("TForm1")
        self.assertEqual(len(ws), 1)
        return ws[0]

    def test_resident_window_starts_hidden_and_topmost(self):
        self.start()
        w = self.resident()
        self.assertFalse(w["visible"])
        self.assertEqual(w["title"], "正在关闭 Windows...")
        self.assertTrue(int(w["exstyle"], 16) & 0x8, "WS_EX_TOPMOST")

    def test_tray_callback_opens_the_menu_only_on_button_down(self):
        self.start()
        hwnd = self.resident()["hwnd"]
        for lparam, opens in ((512, False), (514, False), (513, True), (516, True)):
            self.s.helper("post", hwnd, "1025", "100", str(lparam))
            menus = self.s.wait_for(lambda: [w for w in self.s.windows("#32768") if w["visible"]],
                                    4 if opens else 2)
            self.assertEqual(bool(menus), opens, "lparam %d" % lparam)
            if menus:
                items = self.s.helper("menu")
                self.assertTrue(any("启用监控(&E)" in i for i in items), items)
                self.shot("tray-menu-%d" % lparam)
                self.s.helper("key", hwnd, "ESCAPE", check=False)
                self.s.wait_for(lambda: not [w for w in self.s.windows("#32768") if w["visible"]], 5)

    def test_taskbar_created_adds_the_icon_again(self):
        app = self.start(relay=["shell32.Shell_NotifyIconA"])
        hwnd = self.resident()["hwnd"]
        self.s.helper("post", hwnd, "TaskbarCreated", "0", "0")
        ops = self.wait_until(lambda: len(app.calls("Shell_NotifyIconA")) >= 2 and app.calls("Shell_NotifyIconA"), 5)
        self.assertEqual([c[1][0] for c in ops], ["00000000", "00000000"])

    def test_closing_the_resident_window_deletes_the_icon_and_ends_the_process(self):
        app = self.start(relay=["shell32.Shell_NotifyIconA"])
        self.s.helper("close", "TForm1")
        self.assertTrue(app.wait_exit(15))
        self.assertEqual([c[1][0] for c in app.calls("Shell_NotifyIconA")], ["00000000", "00000002"])

    def test_task_count_stored_as_text_is_reported_and_no_icon_is_added(self):
        self.s.seed({"TaskNum": "3"}, [])
        app = self.start(relay=["shell32.Shell_NotifyIconA", "user32.MessageBoxA"])
        boxes = self.wait_windows("#32770", 1, 15)
        texts = "\n".join(self.s.helper("children", boxes[0]["hwnd"]))
        self.assertIn("Invalid data type for 'TaskNum'.", texts)
        self.assertEqual(boxes[0]["title"], "Morrowick")
        self.shot("error-report-tasknum")
        self.assertEqual(app.calls("Shell_NotifyIconA"), [])
        self.s.helper("click", boxes[0]["hwnd"], "确定", check=False)
        time.sleep(1)
        self.assertTrue(app.running())
        self.assertEqual(app.calls("Shell_NotifyIconA"), [])

    def test_desktop_shows_the_tray_icon(self):
        self.start()
        time.sleep(2)
        self.shot("desktop-tray-icon")
