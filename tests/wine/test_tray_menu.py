"""The tray menu of the real Morrowick.exe, opened through the tray callback and
driven with the keyboard: its items, the CD door, the display, help, the download
page and exit, with the exact calls seen in Wine's relay trace."""

import getpass
import os
import shutil
import subprocess
import time

from wine_case import WineCase, winenv

# The menu as it shows: (kind, checked, text) top to bottom; the user name follows "注销(&L)".
MENU = [
    ("string", "1", "启用监控(&E)"),
    ("separator", "0", ""),
    ("string", "0", "设置(&S)"),
    ("separator", "0", ""),
    ("string", "0", "注销(&L) " + getpass.getuser()),
    ("string", "0", "待机(&W)"),
    ("string", "0", "休眠(&S)"),
    ("string", "0", "重启(&R)"),
    ("string", "0", "关机(&U)"),
    ("string", "0", "打开光驱(&O)"),
    ("string", "0", "关闭光驱(&C)"),
    ("string", "0", "关闭显示器(&M)"),
    ("string", "0", "快速重启(&I)"),
    ("string", "0", "快速关机(&Q)"),
    ("separator", "0", ""),
    ("string", "0", "软件更新(&P)"),
    ("string", "0", "关于(&A)"),
    ("string", "0", "帮助(&H)"),
    ("string", "0", "退出(&X)"),
]
SELECTABLE = [text for kind, _, text in MENU if kind == "string"]

# 誠 is D5 5C in GBK: its second byte is a backslash, which a byte-wise search for the
# last separator would take for the end of the folder.
HELP_FOLDER = "工具 誠"

# Near the bottom right corner of the 1000x700 desktop, where the tray icon sits.
TRAY_POINT = (990, 690)


def debugstr(text):
    """A text as Wine's relay trace prints a narrow string: GBK bytes, escaped."""
    out = []
    for b in text.encode("gbk"):
        c = chr(b)
        if c == "\\":
            out.append("\\\\")
        elif c == '"':
            out.append('\\"')
        elif 0x20 <= b < 0x7F:
            out.append(c)
        else:
            out.append("\\x%02x" % b)
    return '"' + "".join(out) + '"'


def string_arg(arg):
    """The quoted text of a relay argument such as 0040a000 "open"; None for a bare word."""
    return arg[arg.index('"'):] if '"' in arg else None


class MenuDriver:
    """Opens the tray menu of the running program and chooses its items, for a WineCase."""

    def resident(self):
        return self.wait_windows("TForm1", 1, 30, visible=False)[0]

    def open_menu(self):
        # The pointer rests on the tray corner, as after a click on the icon: the menu then
        # opens above it and no item lights up under the pointer.
        subprocess.run(["xdotool", "mousemove", str(TRAY_POINT[0]), str(TRAY_POINT[1])],
                       env=dict(os.environ, DISPLAY=self.s.display), check=True)
        self.s.helper("post", self.resident()["hwnd"], "1025", "100", "513")
        self.wait_until(lambda: [w for w in self.s.windows("#32768") if w["visible"]], 10, "the tray menu did not open")
        return self.s.helper("menu")

    def choose(self, caption):
        """Opens the menu and runs the item with this caption through the arrow keys."""
        self.open_menu()
        # HOME lights the first item whatever was lit before, then DOWN walks the items.
        presses = SELECTABLE.index(caption)
        self.s.helper("key", self.resident()["hwnd"], *(["HOME"] + ["DOWN"] * presses + ["RETURN"]))
        self.wait_until(lambda: not [w for w in self.s.windows("#32768") if w["visible"]], 10,
                        "the tray menu did not close")

    def hwnd_arg(self):
        return "%08x" % int(self.resident()["hwnd"], 16)


class TrayMenuTest(MenuDriver, WineCase):
    def test_menu_shows_every_item_in_order_with_the_check_and_the_user_name(self):
        self.start()
        lines = self.open_menu()
        items = [line.split("\t") for line in lines]
        self.assertEqual([(f[3], f[4], f[8] if len(f) > 8 else "") for f in items], MENU)
        self.assertTrue(all(f[5] == "1" for f in items if f[3] == "string"), "every item enabled")
        self.shot("tray-menu-open")
        self.s.helper("key", self.resident()["hwnd"], "ESCAPE")

    def test_cd_door_items_send_their_commands_to_the_default_cd_device(self):
        app = self.start(relay=["winmm.mciSendStringA"])
        self.choose("打开光驱(&O)")
        self.wait_until(lambda: app.calls("mciSendStringA"), 20, "no mciSendStringA for the open door")
        self.choose("关闭光驱(&C)")
        calls = self.wait_until(lambda: len(app.calls("mciSendStringA")) >= 2 and app.calls("mciSendStringA"), 20)
        # Our own two calls; the multimedia library may make more of its own inside them.
        ours = [args for _, args in calls if string_arg(args[0]) and "door" in args[0]]
        self.assertEqual([string_arg(a[0]) for a in ours],
                         ['"Set cdaudio door open wait"', '"Set cdaudio door closed wait"'])
        for args in ours:
            # no return buffer, return length 0, the resident window as callback window
            self.assertEqual([a.lower() for a in args[1:]], ["00000000", "00000000", self.hwnd_arg()])
        self.assertTrue(app.running())

    def test_display_off_broadcasts_and_does_not_wait_for_a_hung_program(self):
        hung = self.s.start_app(program=winenv.exe("hangwindow.exe"), args=["60"])
        self.addCleanup(hung.proc.wait)
        self.addCleanup(hung.proc.kill)
        self.wait_windows("MwHungWindow", 1, 20)
        time.sleep(6)  # Wine counts a thread as hung after five seconds without a message
        app = self.start(relay=["user32.SendMessageTimeoutA", "user32.SendMessageA"])
        started = time.time()
        self.choose("关闭显示器(&M)")
        # The handler runs as the menu closes. A posted message (the tray callback, like
        # the timers' ticks) is handled only once the broadcast is over, which must not
        # wait for the hung program. (A sent message would be answered even while the
        # broadcast waits, so it proves nothing here.)
        self.open_menu()
        self.s.helper("key", self.resident()["hwnd"], "ESCAPE")
        self.assertLess(time.time() - started, 30)
        calls = self.wait_until(
            lambda: [a for _, a in app.calls("SendMessageTimeoutA") if a[0].lower() == "0000ffff"], 20,
            "no broadcast")
        self.assertEqual(len(calls), 1)
        args = [a.lower() for a in calls[0]]
        # HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, 2 (off), SMTO_ABORTIFHUNG
        self.assertEqual(args[:5], ["0000ffff", "00000112", "0000f170", "00000002", "00000002"])
        self.assertTrue(1000 <= int(args[5], 16) <= 10000, "a timeout of a few seconds: %s" % args[5])
        self.assertEqual([a for _, a in app.calls("SendMessageA") if a[0].lower() == "0000ffff"], [])
        self.assertTrue(hung.running(), "the hung program still hangs")

    def copy_program(self, exe_name):
        folder = os.path.join(self.s.prefix, "drive_c", HELP_FOLDER)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        shutil.copy(winenv.exe("Morrowick.exe"), os.path.join(folder, exe_name))
        shutil.copy(winenv.exe("Morrowick.CHM"), os.path.join(folder, "Morrowick.CHM"))
        self.addCleanup(shutil.rmtree, folder, True)
        return "C:\\%s\\" % HELP_FOLDER

    def test_help_opens_the_file_beside_the_program_whatever_the_current_directory(self):
        # The second name ends in 誠 right before ".exe", so only a GBK-aware cut finds the folder.
        for exe_name in ("Morrowick.exe", "Morrowick誠.exe"):
            with self.subTest(exe=exe_name):
                windows_folder = self.copy_program(exe_name)
                other = os.path.join(self.s.prefix, "drive_c", "windows")
                app = self.start(program=os.path.join(self.s.prefix, "drive_c", HELP_FOLDER, exe_name),
                                 relay=["shell32.ShellExecuteA"], cwd=other)
                self.resident()
                self.choose("帮助(&H)")
                calls = self.wait_until(lambda: app.calls("ShellExecuteA"), 20, "no ShellExecuteA")
                self.assertEqual(len(calls), 1)
                args = calls[0][1]
                self.assertEqual(args[0].lower(), self.hwnd_arg())
                self.assertEqual(args[1], "00000000")  # no verb: the file type's default action
                self.assertEqual(string_arg(args[2]), debugstr(windows_folder + "Morrowick.CHM"))
                self.assertEqual([string_arg(args[3]), string_arg(args[4])], ['""', '""'])
                self.assertEqual(args[5], "00000001")  # SW_SHOWNORMAL
                viewer = self.wait_windows("HH Parent", 1, 30)
                self.assertEqual(viewer[0]["title"], "Morrowick 帮助")
                if exe_name == "Morrowick.exe":
                    time.sleep(1)
                    self.shot("help-viewer")
                for w in self.s.windows("HH Parent"):
                    self.s.helper("close", w["hwnd"], check=False)
                self.s.wait_for(lambda: not self.s.windows("HH Parent"), 10)
                app.stop()

    def test_download_page_opens_with_the_open_verb(self):
        app = self.start(relay=["shell32.ShellExecuteA"])
        self.choose("软件更新(&P)")
        calls = self.wait_until(lambda: app.calls("ShellExecuteA"), 20, "no ShellExecuteA")
        args = calls[0][1]
        self.assertEqual(args[0], "00000000")
        self.assertEqual(string_arg(args[1]), '"open"')
        self.assertEqual(string_arg(args[2]), '"https://morrowick.example/download"')
        self.assertEqual(args[3:], ["00000000", "00000000", "00000001"])
        self.assertTrue(app.running())

    def test_exit_removes_the_tray_icon_before_the_process_ends(self):
        app = self.start(relay=["shell32.Shell_NotifyIconA", "kernel32.ExitProcess"])
        self.choose("退出(&X)")
        self.assertTrue(app.wait_exit(15), "the program did not end")
        calls = [(fn.split(".")[1], args) for fn, args in app.calls()
                 if fn.endswith("Shell_NotifyIconA") or fn.endswith("ExitProcess")]
        self.assertEqual([(fn, args[0]) for fn, args in calls if fn == "Shell_NotifyIconA"],
                         [("Shell_NotifyIconA", "00000000"), ("Shell_NotifyIconA", "00000002")])
        names = [fn for fn, _ in calls]
        self.assertIn("ExitProcess", names)
        self.assertLess(names.index("Shell_NotifyIconA", 1), names.index("ExitProcess"),
                        "NIM_DELETE comes before the process ends")
        self.assertEqual(self.s.windows("TForm1"), [])
