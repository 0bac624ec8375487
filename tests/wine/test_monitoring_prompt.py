"""The monitoring switch, the reminder prompt and the About window.

The switch and About run in the real Morrowick.exe, driven through its tray menu.
Prompts are shown by tools/promptdemo, which uses the program's own PromptWindows and
form library, so they can be made without a schedule.

The tray's tip and picture are read from the taskbar itself with tools/traytip: Wine's
notification area keeps each icon's tip in a tooltip control of the taskbar, which
traytip reads through memory in the taskbar's process, and it averages the strongly
coloured screen pixels of the icon's rectangle."""

import re
import struct
import subprocess
import time

from wine_case import WineCase, winenv

SELECTABLE = ["启用监控(&E)", "设置(&S)", "注销(&L)", "待机(&W)", "休眠(&S)", "重启(&R)", "关机(&U)",
              "打开光驱(&O)", "关闭光驱(&C)", "关闭显示器(&M)", "快速重启(&I)", "快速关机(&Q)",
              "软件更新(&P)", "关于(&A)", "帮助(&H)", "退出(&X)"]
TIP_ON = "Morrowick-启用"
TIP_OFF = "Morrowick-禁用"
WS_EX_TOPMOST = 0x8
SS_NOPREFIX = 0x80
SS_LEFTNOWORDWRAP = 0xC
SCREEN_W, SCREEN_H = (int(x) for x in winenv.DESKTOP.split("x"))


def image_base(path):
    """The ImageBase of a PE32 file: the module handle the program runs under."""
    with open(path, "rb") as f:
        data = f.read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    return struct.unpack_from("<I", data, pe + 24 + 28)[0]


def centred(w, h):
    left, top = (SCREEN_W - w) // 2, (SCREEN_H - h) // 2
    return (left, top, left + w, top + h)


class TrayCase(WineCase):
    def resident(self):
        return self.wait_windows("TForm1", 1, 30, visible=False)[0]

    def choose(self, caption=None):
        """Opens the tray menu through the tray callback and runs an item with the arrow
        keys, or closes it again without choosing. Returns the items as they showed:
        [menu-hwnd, index, id, kind, checked, enabled, default, submenu, text]."""
        hwnd = self.resident()["hwnd"]
        self.s.helper("post", hwnd, "1025", "100", "513")
        self.wait_until(lambda: [w for w in self.s.windows("#32768") if w["visible"]], 10,
                        "the tray menu did not open")
        items = self.s.helper("menu")
        if caption is None:
            self.s.helper("key", hwnd, "ESCAPE")
        else:
            self.s.helper("key", hwnd, *(["DOWN"] * (SELECTABLE.index(caption) + 1) + ["RETURN"]))
        self.wait_until(lambda: not [w for w in self.s.windows("#32768") if w["visible"]], 10,
                        "the tray menu did not close")
        return [line.split("\t") for line in items]

    def tray_icons(self):
        """The icons the tray shows: dicts with the tip and the mean colour of the picture."""
        out = []
        for line in self.s.run([winenv.exe("traytip.exe"), "list"], check=False).split("\n"):
            f = line.split("\t")
            if len(f) >= 10:
                out.append(dict(rect=tuple(int(x) for x in f[3:7]), rgb=tuple(int(x) for x in f[7:10]),
                                tip=f[10] if len(f) > 10 else ""))
        return out

    def our_icon(self, tip):
        """Waits until the tray shows one icon of ours with this tip; returns it."""
        def shown():
            ours = [i for i in self.tray_icons() if i["tip"].startswith("Morrowick-")]
            return ours if len(ours) == 1 and ours[0]["tip"] == tip else None
        ours = self.s.wait_for(shown, 10)
        self.assertTrue(ours, "the tray does not show one icon with %r: %r" % (tip, self.tray_icons()))
        return ours[0]

    def shot_with_tip(self, icon, name):
        """A screenshot with the mouse resting on the icon, so the tray shows its tip."""
        left, top, right, bottom = icon["rect"]
        env = dict(self.s.env)
        subprocess.run(["xdotool", "mousemove", str(left - 20), str(top - 20)], env=env, check=True)
        subprocess.run(["xdotool", "mousemove", str((left + right) // 2), str((top + bottom) // 2)],
                       env=env, check=True)
        self.s.wait_for(lambda: [w for w in self.s.windows("tooltips_class32") if w["visible"]], 5)
        self.shot(name)
        subprocess.run(["xdotool", "mousemove", "10", "10"], env=env, check=True)

    def assert_green(self, icon):
        r, g, b = icon["rgb"]
        self.assertGreater(g, r + 40, "green picture expected: %r" % (icon["rgb"],))

    def assert_red(self, icon):
        r, g, b = icon["rgb"]
        self.assertGreater(r, g + 40, "red picture expected: %r" % (icon["rgb"],))


class MonitoringSwitchTest(TrayCase):
    RELAY = ["shell32.Shell_NotifyIconA", "user32.LoadIconA", "user32.SetTimer", "user32.KillTimer"]

    def test_switch_twice_through_the_tray_menu(self):
        app = self.start(relay=self.RELAY)
        hwnd = int(self.resident()["hwnd"], 16)
        module = "%08x" % image_base(winenv.exe("Morrowick.exe"))
        icon = self.our_icon(TIP_ON)
        self.assert_green(icon)
        add = app.calls("Shell_NotifyIconA")
        self.assertEqual([a[0] for _, a in add], ["00000000"])
        record = add[0][1][1]

        steps = [("1", "00000001", "DISSHUT", TIP_OFF, self.assert_red, "tray-monitoring-off"),
                 ("0", "00000001", "ENASHUT", TIP_ON, self.assert_green, "tray-monitoring-on")]
        for checked_before, op, picture, tip, colour, shot in steps:
            with self.subTest(picture=picture):
                mark = len(app.calls())
                items = self.choose("启用监控(&E)")
                self.assertEqual((items[0][4], items[0][8]), (checked_before, "启用监控(&E)"))
                calls = self.wait_until(
                    lambda: [c for c in app.calls()[mark:] if c[0].endswith("Shell_NotifyIconA")] and app.calls()[mark:],
                    10, "no Shell_NotifyIconA after N1Click")
                notify = [a for fn, a in calls if fn.endswith("Shell_NotifyIconA")]
                self.assertEqual(notify, [[op, record]], "NIM_MODIFY of the one tray record")
                icons = [a for fn, a in calls if fn.endswith("LoadIconA")]
                self.assertEqual([(a[0], a[1].split(" ", 1)[1]) for a in icons], [(module, '"%s"' % picture)])
                # Timer1 (id 1) alone is switched; Timer3 (id 3) is left alone.
                timers = [(fn.split(".")[1], a[:3]) for fn, a in calls if "Timer" in fn]
                if picture == "DISSHUT":
                    self.assertEqual(timers, [("KillTimer", ["%08x" % hwnd, "00000001"])])
                else:
                    self.assertEqual(timers, [("SetTimer", ["%08x" % hwnd, "00000001", "00002710"])])
                icon = self.our_icon(tip)
                colour(icon)
                self.shot_with_tip(icon, shot)
        # The check mark shows the state again.
        self.assertEqual(self.choose()[0][4], "1")
        self.assertTrue(app.running())

    def test_taskbar_restart_after_switching_off_brings_back_the_red_icon(self):
        app = self.start(relay=["shell32.Shell_NotifyIconA"])
        hwnd = self.resident()["hwnd"]
        self.choose("启用监控(&E)")
        self.our_icon(TIP_OFF)
        # A restarting taskbar has lost every icon; then it broadcasts "TaskbarCreated".
        self.s.run([winenv.exe("traytip.exe"), "forget", hwnd, "100"])
        self.assertTrue(self.s.wait_for(lambda: not [i for i in self.tray_icons() if i["tip"].startswith("Morrowick-")], 5))
        mark = len(app.calls("Shell_NotifyIconA"))
        self.s.helper("post", "broadcast", "TaskbarCreated", "0", "0")
        ops = self.wait_until(lambda: app.calls("Shell_NotifyIconA")[mark:], 10, "no NIM_ADD after TaskbarCreated")
        self.assertEqual([a[0] for _, a in ops], ["00000000"])
        icon = self.our_icon(TIP_OFF)
        self.assert_red(icon)
        self.shot_with_tip(icon, "tray-readded-off")


class AboutWindowTest(TrayCase):
    LABELS = ["名称:    Morrowick", "版本:    2016", "时间:    2016年9月19日", "制作:    Quorvane", ""]

    def test_about_twice_gives_two_windows_and_closing_destroys_one(self):
        self.start()
        self.choose("关于(&A)")
        first = self.wait_windows("TForm2", 1)[0]
        self.choose("关于(&A)")
        abouts = self.wait_windows("TForm2", 2)
        self.assertEqual(len(abouts), 2)
        self.shot("about-window")
        for w in abouts:
            self.assertEqual(w["title"], "关于...")
            self.assertEqual(w["rect"], centred(327, 292))
            self.assertFalse(int(w["exstyle"], 16) & WS_EX_TOPMOST, "About is not kept on top")
            controls = [line.split("\t") for line in self.s.helper("children", w["hwnd"])]
            labels = [c for c in controls if c[1] == "Static"]
            # Top to bottom: name, version, date, maker, and the empty Label4.
            self.assertEqual([c[3] for c in sorted(labels, key=lambda c: int(c[7]))], self.LABELS)
            self.assertEqual([(int(c[6]), int(c[7])) for c in sorted(labels, key=lambda c: int(c[7]))],
                             [(82, 64), (82, 96), (81, 126), (82, 154), (82, 183)])
            buttons = [c for c in controls if c[1] == "Button"]
            self.assertEqual([(c[3], tuple(int(x) for x in c[6:10])) for c in buttons],
                             [("确定(&O)", (112, 216, 187, 241))])
        # Closing one destroys it (it is not just hidden) and leaves the other.
        other = [w["hwnd"] for w in abouts if w["hwnd"] != first["hwnd"]]
        self.assertEqual(len(other), 1)
        self.s.helper("click", first["hwnd"], "确定(&O)")
        self.wait_until(lambda: [w["hwnd"] for w in self.s.windows("TForm2")] == other, 10,
                        "the closed About window was not destroyed, or the other one went too")


class PromptWindowTest(TrayCase):
    def prompts(self, *texts):
        """Starts promptdemo showing these texts; it ends once its last prompt is closed."""
        app = self.s.start_app(program=winenv.exe("promptdemo.exe"), args=["show"] + list(texts))
        self.addCleanup(self.end_demo, app)
        return app, self.wait_windows("TForm6", len(texts))

    def end_demo(self, app):
        for w in self.s.windows("TForm6"):
            self.s.helper("close", w["hwnd"], check=False)
        if not app.wait_exit(10):
            app.proc.kill()
            app.proc.wait()

    def controls(self, hwnd):
        return {c[1]: c for c in (line.split("\t") for line in self.s.helper("children", hwnd))}

    def test_two_prompts_in_a_row_are_two_centred_windows_the_later_on_top(self):
        first_text, second_text = "该开会了", "第二条: 喝水 & 休息"
        app, ws = self.prompts(first_text, second_text)
        self.assertEqual(len(ws), 2)
        texts = [self.controls(w["hwnd"])["Static"][3] for w in ws]
        # Top-level windows are listed in Z order: the later prompt comes first.
        self.assertEqual(texts, [second_text, first_text])
        for w in ws:
            self.assertEqual(w["title"], "提示")
            self.assertEqual(w["rect"], centred(400, 169))
            self.assertTrue(int(w["exstyle"], 16) & WS_EX_TOPMOST)
            c = self.controls(w["hwnd"])
            label, button = c["Static"], c["Button"]
            self.assertEqual((int(label[6]), int(label[7])), (48, 48))
            style = int(label[10], 16)
            self.assertEqual(style & SS_NOPREFIX, SS_NOPREFIX, "a reminder's & is shown as itself")
            self.assertEqual(style & 0xF, SS_LEFTNOWORDWRAP)
            self.assertEqual((button[3], tuple(int(x) for x in button[6:10])), ("确定", (160, 96, 235, 121)))
        self.shot("prompt-chinese-text")

        # Closing one prompt destroys it and leaves the other.
        self.s.helper("click", ws[0]["hwnd"], "确定")
        self.wait_until(lambda: [w["hwnd"] for w in self.s.windows("TForm6")] == [ws[1]["hwnd"]], 10,
                        "the closed prompt is not gone, or the other went with it")
        self.s.helper("close", ws[1]["hwnd"])
        self.assertTrue(app.wait_exit(10), "promptdemo did not see its last prompt go")
        self.assertEqual(self.s.windows("TForm6"), [])

    def test_enter_presses_the_button_of_the_active_prompt(self):
        # A form that becomes active puts the focus on its first control, as a dialog does.
        app, ws = self.prompts("按回车关闭")
        self.s.wait_for(lambda: self.s.helper("foreground", check=False)[:1] and
                        self.s.helper("foreground")[0].split("\t")[1] == "TForm6", 5)
        self.s.helper("key", ws[0]["hwnd"], "RETURN")
        self.assertTrue(app.wait_exit(10), "Enter did not close the prompt")

    def test_a_text_wider_than_the_window_stays_on_one_line(self):
        short, wide = "短", "这是一条非常长的提醒文字,比提示窗口还要宽得多:" * 3
        app, ws = self.prompts(short, wide)
        by_text = {self.controls(w["hwnd"])["Static"][3]: w for w in ws}
        self.assertEqual(set(by_text), {short, wide})
        wide_label = self.controls(by_text[wide]["hwnd"])["Static"]
        short_label = self.controls(by_text[short]["hwnd"])["Static"]
        left, top, right, bottom = (int(x) for x in wide_label[6:10])
        self.assertGreater(right, 400, "the label keeps the width of its one line")
        s_top, s_bottom = int(short_label[7]), int(short_label[9])
        self.assertEqual(bottom - top, s_bottom - s_top, "one line high, as a one-character text")
        self.assertEqual(by_text[wide]["rect"], centred(400, 169), "the window does not grow")
        self.shot("prompt-wide-text")

    def test_a_prompt_stays_above_the_about_window(self):
        self.start()
        app, ws = self.prompts("提醒在最上面")
        self.choose("关于(&A)")
        self.wait_windows("TForm2", 1)
        time.sleep(0.5)
        self.assertEqual(self.s.helper("foreground")[0].split("\t")[1], "TForm2")
        order = [w["cls"] for w in self.s.windows() if w["cls"] in ("TForm2", "TForm6")]
        self.assertEqual(order, ["TForm6", "TForm2"])

    def relay_counts(self, log):
        """GDI objects created minus deleted, and DCs taken minus given back, in a relay log."""
        calls = re.findall(r"Call (gdi32|user32)\.(\w+)\(", log)
        created = sum(1 for dll, fn in calls if dll == "gdi32" and fn.startswith("Create"))
        deleted = sum(1 for dll, fn in calls if dll == "gdi32" and fn in ("DeleteObject", "DeleteDC"))
        dcs = sum(1 for dll, fn in calls if fn in ("GetDC", "GetWindowDC", "GetDCEx")) - \
            sum(1 for dll, fn in calls if fn == "ReleaseDC")
        return created - deleted, dcs

    def churn(self, count, relay=None):
        app = self.s.start_app(program=winenv.exe("promptdemo.exe"), args=["churn", str(count)], relay=relay)
        self.addCleanup(self.end_demo, app)
        self.assertTrue(app.wait_exit(240), "promptdemo churn %d did not finish" % count)
        log = app.log()
        figures = {}
        for m in re.finditer(r"^(gui-user|gui-gdi|windows|prompts)\t(\d+)\t(\d+)\t(\d+)", log, re.M):
            figures[m.group(1)] = tuple(int(x) for x in m.groups()[1:])
        self.assertEqual(set(figures), {"gui-user", "gui-gdi", "windows", "prompts"}, log[-2000:])
        return figures, log

    def test_500_prompts_opened_and_closed_leave_the_counts_where_they_started(self):
        figures, _ = self.churn(500)
        for name, (before, open_, after) in sorted(figures.items()):
            print("\n  %-8s before %d, one prompt open %d, after 500 prompts %d" % (name, before, open_, after),
                  end="")
        print()
        # GetGuiResources: Wine 8 answers 0 for both; on Windows these are the real counts.
        self.assertEqual(figures["gui-user"][2], figures["gui-user"][0])
        self.assertEqual(figures["gui-gdi"][2], figures["gui-gdi"][0])
        # The windows themselves: an open prompt is a form, its label and its button.
        before, open_, after = figures["windows"]
        self.assertEqual(open_, before + 3)
        self.assertEqual(after, before)
        self.assertEqual(figures["prompts"], (0, 1, 0))

        # GDI under Wine, from the relay trace of every gdi32 call and of the window DCs:
        # what one prompt leaves behind, 500 prompts leave behind too.
        relay = ["gdi32.*", "user32.GetDC", "user32.GetDCEx", "user32.GetWindowDC", "user32.ReleaseDC"]
        _, log_one = self.churn(1, relay)
        _, log_many = self.churn(500, relay)
        one, many = self.relay_counts(log_one), self.relay_counts(log_many)
        print("  relay: GDI objects created - deleted, DCs taken - released: 1 prompt %r, 500 prompts %r"
              % (one, many))
        # The trace is live: it sees the prompt font made once and each label measured.
        self.assertEqual(len(re.findall(r"Call gdi32\.CreateFontA\(", log_one)), 1)
        self.assertGreater(len(re.findall(r"Call user32\.GetDC\(", log_many)), 500)
        self.assertEqual(many, one)
        self.assertEqual(many[1], 0)
