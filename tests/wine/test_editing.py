"""Task editing on the real Morrowick.exe: the settings window opened from the tray menu,
its task list with Add, Modify and Delete, the task editor, and the options stored by OK."""

import os
import time

from wine_case import WineCase, winenv

KEY = winenv.PROGRAM_KEY
RUN = winenv.RUN_KEY

# Control ids follow the order in which each window makes its controls (from 100).
EDITOR = {name: 100 + i for i, name in enumerate(
    "RadioButton1 Edit1 Label1 RadioButton2 DateTimePicker1 DateTimePicker2 RadioButton3 "
    "DateTimePicker3 RadioButton4 ComboBox1 DateTimePicker4 RadioButton5 ComboBox2 Label2 "
    "DateTimePicker5 RadioButton6 ComboBox3 Label3 ComboBox4 Label4 DateTimePicker6 RadioButton7 "
    "Edit3 Label7 Edit4 Label8 Label9 Label5 ComboBox5 Label6 ComboBox6 Button1 Button2 Button3".split())}
SETTINGS = {name: 100 + i for i, name in enumerate(
    "ListView1 Button4 Button5 Button6 CheckBox2 Label10 Edit8 Button3 Label8 Edit5 Label9 "
    "CheckBox5 Button1 Button2".split())}

WM_CHAR = 258
TIMER1 = 1  # the resident window's first timer


def sz(text):
    """A REG_SZ value as stored: GBK bytes and the terminating NUL, in hex."""
    return (1, (text.encode("gbk") + b"\0").hex())


def dword(n):
    return (4, n.to_bytes(4, "little").hex())


class TaskEditingTest(WineCase):
    # ---- driving ----
    def resident(self):
        return self.s.windows("TForm1")[0]["hwnd"]

    def choose_settings(self):
        """Opens the tray menu and runs "设置(&S)" with the arrow keys."""
        hwnd = self.resident()
        self.s.helper("post", hwnd, "1025", "100", "513")
        self.wait_until(lambda: [w for w in self.s.windows("#32768") if w["visible"]], 10, "no tray menu")
        self.s.helper("key", hwnd, "DOWN", "DOWN", "RETURN")

    def open_settings(self):
        self.choose_settings()
        return self.wait_windows("TForm3", 1, 15)[0]["hwnd"]

    def controls(self, window):
        out = {}
        for line in self.s.helper("children", window, check=False):
            f = line.split("\t")
            out.setdefault(int(f[2]), dict(hwnd=f[0], cls=f[1], text=f[3], details=f[12] if len(f) > 12 else ""))
        return out

    def text(self, window, cid):
        return self.controls(window)[cid]["text"]

    def detail(self, window, cid, key):
        for pair in self.controls(window)[cid]["details"].split(";"):
            k, _, v = pair.partition("=")
            if k == key:
                return v
        return None

    def wait_text(self, window, cid, text, timeout=10):
        self.wait_until(lambda: self.text(window, cid) == text, timeout,
                        "control %d never showed %r (shows %r)" % (cid, text, self.text(window, cid)))

    def type_char(self, hwnd, ch):
        """A typed character, handled before the call returns."""
        self.s.helper("send", hwnd, str(WM_CHAR), str(ord(ch)), "0")

    def rows(self, settings):
        return [line.split("\t")[2:] for line in self.s.helper("items", settings, str(SETTINGS["ListView1"]))]

    def message_box(self, title, timeout=10):
        boxes = self.wait_windows("#32770", 1, timeout)
        box = [b for b in boxes if b["title"] == title]
        self.assertTrue(box, "no message box %r: %r" % (title, [b["title"] for b in boxes]))
        texts = [line.split("\t")[3] for line in self.s.helper("children", box[0]["hwnd"])]
        return box[0]["hwnd"], texts

    def dismiss(self, box):
        self.s.helper("close", box)
        self.s.wait_for(lambda: not self.s.windows(box), 5)

    def add(self, settings):
        self.s.helper("click", settings, "添加(&A)")
        return self.wait_windows("TForm5", 1, 15)[0]["hwnd"]

    def modify(self, settings, row):
        self.s.helper("select", settings, str(SETTINGS["ListView1"]), str(row))
        self.s.helper("click", settings, "修改(&M)")
        return self.wait_windows("TForm5", 1, 15)[0]["hwnd"]

    def choose_type(self, editor, type_text, argument_shown):
        """Picks a task type as a user would, and waits for the type change to show."""
        # The pick reaches the editor as a posted notification: a mark in the argument
        # box, which the type change always clears, shows when it has been handled.
        self.s.helper("settext", editor, str(EDITOR["ComboBox6"]), "·")
        self.s.helper("select", editor, str(EDITOR["ComboBox5"]), type_text)
        self.wait_text(editor, EDITOR["ComboBox6"], argument_shown)

    def ok(self, editor):
        self.s.helper("clickid", editor, str(EDITOR["Button2"]))
        self.wait_until(lambda: not self.s.windows(editor), 10, "the editor did not close")

    def stored(self, *names):
        values = self.s.reg_dump()
        return {n: (values[n]["type"], values[n]["hex"]) if n in values else None for n in names}

    def start_seeded(self, tasks=(), settings=None, **kw):
        self.s.seed(settings, tasks)
        return self.start(**kw)

    # ---- the editor's OK for every kind ----
    def test_add_stores_one_task_of_each_kind_byte_for_byte(self):
        self.start_seeded()
        settings = self.open_settings()
        self.assertEqual(self.rows(settings), [])
        E = EDITOR
        want = []

        def add_task(kind_radio, fill, type_text, argument_shown, argument=None):
            editor = self.add(settings)
            self.s.helper("clickid", editor, str(E[kind_radio]))
            self.wait_until(lambda: self.detail(editor, E[kind_radio], "check") == "1", 5)
            fill(editor)
            self.choose_type(editor, type_text, argument_shown)
            if argument is not None:
                self.s.helper("settext", editor, str(E["ComboBox6"]), argument)
            self.ok(editor)
            return editor

        def idle(ed):
            self.s.helper("settext", ed, str(E["Edit1"]), "30")
        add_task("RadioButton1", idle, "提醒", "下班时间到。")
        want.append(("空闲30分钟", "提醒", "下班时间到。"))

        def once(ed):
            self.s.helper("settime", ed, str(E["DateTimePicker1"]), "2030-05-01")
            self.s.helper("settime", ed, str(E["DateTimePicker2"]), "2030-05-01T08:05:40")
        add_task("RadioButton2", once, "打开文件", "可以打开mp3文件，程序，网址，电影视频等")
        # Wine's short date format for zh_CN is yyyy/M/d; the seconds are not kept.
        want.append(("一次2030/5/1日8时5分", "打开文件", "可以打开mp3文件，程序，网址，电影视频等"))

        def daily(ed):
            self.s.helper("settime", ed, str(E["DateTimePicker3"]), "2009-01-19T22:30:00")
        add_task("RadioButton3", daily, "关闭程序", "在此输入程序的文件名或按浏览。", "notepad.exe")
        want.append(("每天22时30分", "关闭程序", "notepad.exe"))

        def weekly(ed):
            self.s.helper("select", ed, str(E["ComboBox1"]), "6")  # the item "7"
            self.s.helper("settime", ed, str(E["DateTimePicker4"]), "2009-01-19T09:00:00")
        add_task("RadioButton4", weekly, "断开拨号", "")
        want.append(("每周7日9时0分", "断开拨号", ""))

        def monthly(ed):
            self.s.helper("settext", ed, str(E["ComboBox2"]), "15")
            self.s.helper("settime", ed, str(E["DateTimePicker5"]), "2009-01-19T12:00:00")
        add_task("RadioButton5", monthly, "拨号连接", "")
        want.append(("每月15日12时0分", "拨号连接", ""))

        def yearly(ed):
            self.s.helper("select", ed, str(E["ComboBox3"]), "11")  # "12"
            self.s.helper("select", ed, str(E["ComboBox4"]), "30")  # "31"
            self.s.helper("settime", ed, str(E["DateTimePicker6"]), "2009-01-19T23:59:00")
        add_task("RadioButton6", yearly, "关闭计算机", "关闭计算机")
        want.append(("每年12月31日23时59分", "关闭计算机", "关闭计算机"))

        # Boot with both boxes empty: OK shows "0" in them (checked below on a kept editor).
        add_task("RadioButton7", lambda ed: None, "快速关机", "快速关机")
        want.append(("开机0时0分", "快速关机", "快速关机"))

        expected = {"TaskNum": dword(7)}
        for n, (a, b, c) in enumerate(want, 1):
            expected.update({"A%d" % n: sz(a), "B%d" % n: sz(b), "C%d" % n: sz(c)})
        self.assertEqual(self.stored(*expected), expected)
        self.assertEqual(self.rows(settings), [[str(n), a, b, c] for n, (a, b, c) in enumerate(want, 1)])
        self.shot("settings-filled-list")

    def test_boot_boxes_show_zero_after_a_refused_ok_and_the_refusal_names_the_box(self):
        self.start_seeded()
        settings = self.open_settings()
        editor = self.add(settings)
        # An idle task with an empty minutes box could never be checked by the scheduler.
        self.s.helper("clickid", editor, str(EDITOR["RadioButton1"]))
        self.s.helper("clickid", editor, str(EDITOR["Button2"]))
        box, texts = self.message_box("提示")
        self.assertIn("空闲的分钟数必须是 -2147483648 到 2147483647 之间的整数。", texts)
        self.dismiss(box)
        # Boot: the empty boxes become "0", the too long minutes are refused.
        self.s.helper("clickid", editor, str(EDITOR["RadioButton7"]))
        self.s.helper("settext", editor, str(EDITOR["Edit4"]), "99999999999")
        self.s.helper("clickid", editor, str(EDITOR["Button2"]))
        box, texts = self.message_box("提示")
        self.assertIn("开机后的分钟数必须是 -2147483648 到 2147483647 之间的整数。", texts)
        self.dismiss(box)
        self.assertEqual(self.text(editor, EDITOR["Edit3"]), "0")
        self.assertTrue(self.s.windows(editor), "the editor stays open")
        self.assertEqual(self.stored("TaskNum", "A1"), {"TaskNum": dword(0), "A1": None})
        self.assertEqual(self.rows(settings), [])

    def test_editor_opens_as_designed_and_filters_keys(self):
        self.start_seeded()
        settings = self.open_settings()
        editor = self.add(settings)
        w = self.s.windows(editor)[0]
        self.assertEqual(w["title"], "任务")
        left, top, right, bottom = w["rect"]
        self.assertEqual((right - left, bottom - top), (438, 335))
        self.assertTrue(int(w["style"], 16) & 0x00040000, "sizeable (WS_THICKFRAME)")
        c = self.controls(editor)
        E = EDITOR
        radios = ["RadioButton%d" % i for i in range(1, 8)]
        self.assertEqual([c[E[r]]["text"] for r in radios], ["空闲", "一次", "每天", "每周", "每月", "每年", "开机"])
        self.assertEqual([self.detail(editor, E[r], "check") for r in radios], ["0"] * 7)
        self.assertEqual([c[E[n]]["text"] for n in ("Label1", "Label2", "Label3", "Label4", "Label7", "Label8",
                                                    "Label5", "Label6", "Button1", "Button2", "Button3")],
                         ["分钟", "日", "月", "日", "时", "分", "任务类型:", "提醒语:", "浏览", "确定(&O)", "取消(&C)"])
        self.assertRegex(c[E["Label9"]]["text"], r"^开机时间:\d+时\d+分\d+秒$")
        for name, count in (("ComboBox1", 7), ("ComboBox2", 31), ("ComboBox3", 12), ("ComboBox4", 31)):
            items = [line.split("\t")[2] for line in self.s.helper("items", editor, str(E[name]))]
            self.assertEqual(items, [str(i) for i in range(1, count + 1)], name)
            self.assertEqual(c[E[name]]["text"], "1", name)
        types = [line.split("\t")[2] for line in self.s.helper("items", editor, str(E["ComboBox5"]))]
        self.assertEqual(types, ["提醒", "打开文件", "关闭程序", "断开拨号", "拨号连接", "注销计算机", "待机计算机",
                                 "休眠计算机", "重启计算机", "关闭计算机", "快速重启", "快速关机"])
        self.assertEqual(c[E["ComboBox5"]]["text"], "")
        self.assertEqual(c[E["ComboBox6"]]["text"], "")
        # Add shows today in the date picker, 00:00 in the time pickers.
        today = time.strftime("%Y-%m-%d")
        self.assertTrue(self.detail(editor, E["DateTimePicker1"], "time").startswith(today))
        for n in range(2, 7):
            self.assertTrue(self.detail(editor, E["DateTimePicker%d" % n], "time").endswith("T00:00:00"))

        # The digit boxes take digits and backspace only.
        for name in ("Edit1", "Edit3", "Edit4"):
            h = c[E[name]]["hwnd"]
            for ch in "4a2.-x":
                self.type_char(h, ch)
            self.assertEqual(self.text(editor, E[name]), "42", name)
            self.type_char(h, "\b")
            self.assertEqual(self.text(editor, E[name]), "4", name)

        # Picking a type fills the argument box; the two colons differ.
        self.choose_type(editor, "提醒", "下班时间到。")
        self.assertEqual(self.text(editor, E["Label6"]), "提醒语：")
        phrases = [line.split("\t")[2] for line in self.s.helper("items", editor, str(E["ComboBox6"]))]
        self.assertEqual(phrases, ["下班时间到。", "要去上班啰。", "该吃饭了。", "该休息一下了。", "放学了。"])
        self.choose_type(editor, "打开文件", "可以打开mp3文件，程序，网址，电影视频等")
        self.assertEqual(self.text(editor, E["Label6"]), "文件:")
        self.assertEqual(self.s.helper("items", editor, str(E["ComboBox6"]), check=False), [])
        self.choose_type(editor, "拨号连接", "")
        self.assertEqual(self.text(editor, E["Label6"]), "属性：")
        self.choose_type(editor, "关闭计算机", "关闭计算机")
        # Typing a text that is no type empties the argument box and leaves the label.
        edit_of_type = [h for h, ctl in self.child_edits(editor).items() if ctl == E["ComboBox5"]][0]
        self.type_char(edit_of_type, "x")
        self.assertEqual(self.text(editor, E["ComboBox6"]), "")
        self.assertEqual(self.text(editor, E["Label6"]), "属性：")

    def child_edits(self, window):
        """The edits inside combo boxes: edit handle -> id of the combo box."""
        by_hwnd = {v["hwnd"]: k for k, v in self.controls(window).items()}
        out = {}
        for line in self.s.helper("children", window, "Edit"):
            f = line.split("\t")
            if f[11] in by_hwnd:
                out[f[0]] = by_hwnd[f[11]]
        return out

    # ---- Modify ----
    def test_modify_of_a_weekly_task_stored_with_seven_shows_zero_and_ok_stores_zero(self):
        self.start_seeded([("每天8时0分", "提醒", "早"), ("每周7日9时5分", "打开文件", "C:\\音乐\\a.mp3"),
                           ("开机1时30分", "提醒", "休息")])
        settings = self.open_settings()
        editor = self.modify(settings, 1)
        E = EDITOR
        self.wait_text(editor, E["ComboBox1"], "0")
        self.assertEqual(self.detail(editor, E["RadioButton4"], "check"), "1")
        self.assertEqual([self.detail(editor, E["RadioButton%d" % i], "check") for i in (1, 2, 3, 5, 6, 7)], ["0"] * 6)
        self.assertTrue(self.detail(editor, E["DateTimePicker4"], "time").endswith("T09:05:00"))
        self.assertEqual(self.text(editor, E["ComboBox5"]), "打开文件")
        self.assertEqual(self.text(editor, E["ComboBox6"]), "C:\\\\音乐\\\\a.mp3")
        self.assertEqual(self.text(editor, E["Label6"]), "提醒语:")  # setting the type runs no type change
        # A task of another kind: the date picker keeps its design date.
        self.assertTrue(self.detail(editor, E["DateTimePicker1"], "time").startswith("2009-01-19"))
        self.shot("editor-modify-weekly")
        self.ok(editor)
        self.assertEqual(self.stored("A2", "B2", "C2", "TaskNum", "A4"),
                         {"A2": sz("每周0日9时5分"), "B2": sz("打开文件"), "C2": sz("C:\\音乐\\a.mp3"),
                          "TaskNum": dword(3), "A4": None})
        # The rewritten row moves to the end; its slot number stays.
        self.assertEqual([r[0] for r in self.rows(settings)], ["1", "3", "2"])
        self.assertEqual(self.rows(settings)[2], ["2", "每周0日9时5分", "打开文件", "C:\\\\音乐\\\\a.mp3"])

    def test_modify_of_a_text_that_does_not_read_back_reports_it_and_keeps_the_editor(self):
        self.start_seeded([("每天25时0分", "提醒", "x")])
        settings = self.open_settings()
        editor = self.modify(settings, 0)
        box, texts = self.message_box("Morrowick")
        self.assertIn("Invalid argument to time encode.", texts)
        self.dismiss(box)
        self.assertEqual(self.detail(editor, EDITOR["RadioButton3"], "check"), "1")
        self.assertTrue(self.s.windows(editor))

    # ---- Delete and the list ----
    def test_delete_of_slot_two_of_three_renumbers_the_list_and_the_store_matches(self):
        tasks = [("每天8时0分", "提醒", "一"), ("每天9时0分", "提醒", "二"), ("每天10时0分", "关闭计算机", "三")]
        self.start_seeded(tasks)
        settings = self.open_settings()
        self.s.helper("select", settings, str(SETTINGS["ListView1"]), "1")
        self.s.helper("click", settings, "删除(&D)")
        self.wait_until(lambda: len(self.rows(settings)) == 2, 10)
        self.assertEqual(self.rows(settings), [["1", "每天8时0分", "提醒", "一"], ["2", "每天10时0分", "关闭计算机", "三"]])
        self.assertEqual(self.stored("A1", "B1", "C1", "A2", "B2", "C2", "A3", "B3", "C3", "TaskNum"), {
            "A1": sz("每天8时0分"), "B1": sz("提醒"), "C1": sz("一"),
            "A2": sz("每天10时0分"), "B2": sz("关闭计算机"), "C2": sz("三"),
            "A3": None, "B3": None, "C3": None, "TaskNum": dword(2)})

    def test_delete_while_an_editor_holds_a_higher_slot_rewrites_the_moved_task(self):
        tasks = [("每天8时0分", "提醒", "一"), ("每天9时0分", "提醒", "二"), ("每天10时0分", "提醒", "三")]
        self.start_seeded(tasks)
        settings = self.open_settings()
        editor = self.modify(settings, 2)
        self.wait_text(editor, EDITOR["ComboBox6"], "三")
        self.s.helper("select", settings, str(SETTINGS["ListView1"]), "0")
        self.s.helper("click", settings, "删除(&D)")
        self.wait_until(lambda: len(self.rows(settings)) == 2, 10)
        self.s.helper("settext", editor, str(EDITOR["ComboBox6"]), "三改")
        self.ok(editor)
        self.assertEqual(self.stored("A1", "C1", "C2", "A3", "TaskNum"), {
            "A1": sz("每天9时0分"), "C1": sz("二"), "C2": sz("三改"), "A3": None, "TaskNum": dword(2)})
        self.assertEqual([r[0] for r in self.rows(settings)], ["1", "2"])

    def test_modify_or_delete_without_a_selection_shows_its_message_and_changes_nothing(self):
        self.start_seeded([("每天8时0分", "提醒", "一")])
        settings = self.open_settings()
        before = self.s.reg_dump()
        for button, message in (("修改(&M)", "请选择要修改的任务"), ("删除(&D)", "请选择要删除的任务")):
            self.s.helper("click", settings, button)
            box, texts = self.message_box("错误")
            self.assertIn(message, texts)
            self.dismiss(box)
        self.assertEqual(self.s.windows("TForm5"), [])
        self.assertEqual(self.rows(settings), [["1", "每天8时0分", "提醒", "一"]])
        self.assertEqual(self.s.reg_dump(), before)

    def test_ok_without_a_kind_shows_choose_time_and_writes_nothing(self):
        self.start_seeded()
        settings = self.open_settings()
        editor = self.add(settings)
        self.choose_type(editor, "提醒", "下班时间到。")
        self.s.helper("clickid", editor, str(EDITOR["Button2"]))
        box, texts = self.message_box("提示")
        self.assertIn("请选择时间", texts)
        self.dismiss(box)
        self.assertTrue(self.s.windows(editor), "the editor stays open")
        self.assertEqual(self.stored("TaskNum", "A1"), {"TaskNum": dword(0), "A1": None})
        self.assertEqual(self.rows(settings), [])

    def test_cancel_after_add_keeps_the_task_and_drops_the_options(self):
        self.start_seeded()
        settings = self.open_settings()
        editor = self.add(settings)
        self.s.helper("clickid", editor, str(EDITOR["RadioButton3"]))
        self.ok(editor)
        self.s.helper("settext", settings, str(SETTINGS["Edit5"]), "5")
        self.s.helper("click", settings, "取消(&C)")
        self.wait_until(lambda: not self.s.windows("TForm3"), 10, "the settings window did not close")
        self.assertEqual(self.stored("A1", "B1", "C1", "TaskNum", "tishi"),
                         {"A1": sz("每天0时0分"), "B1": sz(""), "C1": sz(""), "TaskNum": dword(1),
                          "tishi": dword(60)})
        # A new window reads the list afresh; the editor's Cancel writes nothing.
        settings = self.open_settings()
        self.assertEqual(self.rows(settings), [["1", "每天0时0分", "", ""]])
        self.assertEqual(self.text(settings, SETTINGS["Edit5"]), "1")
        editor = self.add(settings)
        self.s.helper("clickid", editor, str(EDITOR["Button3"]))
        self.wait_until(lambda: not self.s.windows(editor), 10)
        self.assertEqual(self.stored("TaskNum", "A2"), {"TaskNum": dword(1), "A2": None})

    # ---- the options ----
    def test_settings_window_opens_as_designed_with_the_stored_options(self):
        self.s.reg_delete(RUN, "Pellidor")
        self.start_seeded([("每天8时0分", "提醒", "一"), ("", "提醒", "空"), ("每周1日8时0分", "", "")],
                          {"tishi": 100, "shutapp": 1, "soundpath": "C:\\声音.wav"})
        settings = self.open_settings()
        w = self.s.windows(settings)[0]
        self.assertEqual(w["title"], "设置")
        style = int(w["style"], 16)
        self.assertFalse(style & 0x00040000, "fixed border")
        self.assertTrue(style & 0x00020000, "minimise box")
        self.assertFalse(style & 0x00010000, "no maximise box")
        columns = [line.split("\t")[1:] for line in self.s.helper("columns", settings, str(SETTINGS["ListView1"]))]
        self.assertEqual(columns, [["40", "序号"], ["120", "时间"], ["90", "任务"], ["200", "任务属性"]])
        self.assertEqual(self.rows(settings), [["1", "每天8时0分", "提醒", "一"], ["3", "每周1日8时0分", "", ""]])
        lv_style = int(self.s.helper("children", settings, "SysListView32")[0].split("\t")[10], 16)
        self.assertEqual(lv_style & 0x3, 0x1, "report view")
        self.assertTrue(lv_style & 0x4, "single selection")
        self.assertFalse(lv_style & 0x200, "no in-place caption edit")
        lv = self.s.helper("children", settings, "SysListView32")[0].split("\t")[0]
        ex_style = int(self.s.helper("send", lv, str(0x1037), "0", "0")[0].split("\t")[2])  # LVM_GETEXTENDEDLISTVIEWSTYLE
        self.assertEqual(ex_style & 0x21, 0x21, "grid lines and whole-row selection")
        c = self.controls(settings)
        S = SETTINGS
        self.assertEqual([c[S[n]]["text"] for n in ("Button4", "Button5", "Button6", "CheckBox2", "Label10",
                                                    "Button3", "Label8", "Label9", "CheckBox5", "Button1",
                                                    "Button2")],
                         ["添加(&A)", "修改(&M)", "删除(&D)", "开机启动Morrowick(&S)", "关机前声音提示:", ".....",
                          "关机前等待:", "分钟", "待机前关闭所有程序(&P)", "确定(&O)", "取消(&C)"])
        self.assertEqual(c[S["Edit5"]]["text"], "1.66666666666667")
        self.assertEqual(c[S["Edit8"]]["text"], "C:\\\\声音.wav")
        self.assertEqual(self.detail(settings, S["CheckBox5"], "check"), "1")
        self.assertEqual(self.detail(settings, S["CheckBox2"], "check"), "0")
        # The countdown box takes digits, the point and backspace.
        h = c[S["Edit5"]]["hwnd"]
        self.s.helper("settext", settings, str(S["Edit5"]), "")
        for ch in "1,5.x5":
            self.type_char(h, ch)
        self.assertEqual(self.text(settings, S["Edit5"]), "15.5")
        self.type_char(h, "\b")
        self.assertEqual(self.text(settings, S["Edit5"]), "15.")
        # Enter in an edit presses Cancel, the default button: nothing is stored.
        self.s.helper("post", h, "513", "1", str(5 << 16 | 5))  # a click puts the focus there
        self.s.helper("post", h, "514", "0", str(5 << 16 | 5))
        self.s.helper("key", h, "RETURN")
        self.wait_until(lambda: not self.s.windows("TForm3"), 10, "Enter did not close the window")
        self.assertEqual(self.stored("tishi"), {"tishi": dword(100)})
        # OK without touching the box stores 100 again.
        settings = self.open_settings()
        self.s.helper("click", settings, "确定(&O)")
        self.wait_until(lambda: not self.s.windows("TForm3"), 10)
        self.assertEqual(self.stored("tishi", "shutapp", "soundpath"),
                         {"tishi": dword(100), "shutapp": dword(1), "soundpath": sz("C:\\声音.wav")})

    def countdown_max(self):
        for line in self.s.helper("children", self.resident(), "msctls_progress32"):
            for pair in line.split("\t")[12].split(";"):
                if pair.startswith("max="):
                    return int(pair[4:])
        return None

    def confirm(self, settings):
        self.s.helper("click", settings, "确定(&O)")
        self.wait_until(lambda: not self.s.windows("TForm3"), 10, "OK did not close the window")

    def test_ok_stores_the_countdown_in_seconds_and_sets_the_bar(self):
        self.start_seeded()
        self.assertEqual(self.countdown_max(), 60)
        settings = self.open_settings()
        self.s.helper("settext", settings, str(SETTINGS["Edit5"]), "0.5")
        self.s.helper("setcheck", settings, str(SETTINGS["CheckBox5"]), "1")
        self.s.helper("settext", settings, str(SETTINGS["Edit8"]), "C:\\警告.wav")
        self.confirm(settings)
        self.assertEqual(self.stored("tishi", "shutapp", "soundpath"),
                         {"tishi": dword(30), "shutapp": dword(1), "soundpath": sz("C:\\警告.wav")})
        self.assertEqual(self.countdown_max(), 30)

        settings = self.open_settings()
        self.assertEqual(self.text(settings, SETTINGS["Edit5"]), "0.5")
        self.s.helper("settext", settings, str(SETTINGS["Edit5"]), "")
        self.confirm(settings)
        self.assertEqual(self.stored("tishi"), {"tishi": dword(60)})
        self.assertEqual(self.countdown_max(), 60)

        # Not a number, negative, or beyond 32 bits of seconds: nothing is stored, the window stays.
        settings = self.open_settings()
        for text, title, message in (
                ("1.2.3", "Morrowick", "'1.2.3' is not a valid floating point value."),
                (".", "Morrowick", "'.' is not a valid floating point value."),
                ("-1", "错误", "关机前等待的时间必须在 0 到 35791394 分钟之间。"),
                ("35791395", "错误", "关机前等待的时间必须在 0 到 35791394 分钟之间。")):
            self.s.helper("settext", settings, str(SETTINGS["Edit5"]), text)
            self.s.helper("click", settings, "确定(&O)")
            box, texts = self.message_box(title)
            self.assertIn(message, texts)
            self.dismiss(box)
            self.assertTrue(self.s.windows(settings))
        self.assertEqual(self.stored("tishi"), {"tishi": dword(60)})
        self.assertEqual(self.countdown_max(), 60)

    def exe_path(self):
        return "Z:" + os.path.abspath(winenv.exe("Morrowick.exe")).replace("/", "\\")

    def test_autostart_entry_on_off_and_replaced_when_it_held_another_path(self):
        self.s.reg_delete(RUN, "Pellidor")
        self.addCleanup(self.s.reg_delete, RUN, "Pellidor")
        self.start_seeded()
        exe = self.exe_path()
        self.assertNotIn(" ", exe, "the entry is then the path without quotes")
        settings = self.open_settings()
        self.assertEqual(self.detail(settings, SETTINGS["CheckBox2"], "check"), "0")
        self.s.helper("setcheck", settings, str(SETTINGS["CheckBox2"]), "1")
        self.confirm(settings)
        self.assertEqual(self.s.reg_dump(RUN).get("Pellidor", {}).get("text"), exe)

        settings = self.open_settings()
        self.assertEqual(self.detail(settings, SETTINGS["CheckBox2"], "check"), "1")
        self.s.helper("setcheck", settings, str(SETTINGS["CheckBox2"]), "0")
        self.confirm(settings)
        self.assertNotIn("Pellidor", self.s.reg_dump(RUN))

        # Another copy's path: shown off; OK with the box off removes it, with it on replaces it.
        self.s.reg_text(RUN, "Pellidor", "C:\\Other\\Morrowick.exe")
        settings = self.open_settings()
        self.assertEqual(self.detail(settings, SETTINGS["CheckBox2"], "check"), "0")
        self.confirm(settings)
        self.assertNotIn("Pellidor", self.s.reg_dump(RUN))
        self.s.reg_text(RUN, "Pellidor", "C:\\Other\\Morrowick.exe")
        settings = self.open_settings()
        self.s.helper("setcheck", settings, str(SETTINGS["CheckBox2"]), "1")
        self.confirm(settings)
        self.assertEqual(self.s.reg_dump(RUN)["Pellidor"]["hex"], (exe.encode("gbk") + b"\0").hex())

    def pick_file(self, owner, name):
        """Waits for the open-file dialog of the owner, types a name and presses Open."""
        dialogs = self.wait_windows("#32770", 1, 15)
        dialog = [d for d in dialogs if int(d["owner"], 16) == int(owner, 16)]
        self.assertTrue(dialog, "no dialog owned by the window")
        d = dialog[0]
        c = {}
        for line in self.s.helper("children", d["hwnd"]):
            f = line.split("\t")
            c.setdefault((f[1], int(f[2])), f)
        self.s.helper("settext", d["hwnd"], c[("ComboBoxEx32", 1148)][0], name)  # the file name box
        self.s.helper("post", d["hwnd"], "273", "1", c[("Button", 1)][0])  # Open: WM_COMMAND IDOK
        if not self.s.wait_for(lambda: not self.s.windows(d["hwnd"]), 10):
            self.shot("open-dialog-stuck")
            self.fail("the dialog did not close")
        return d, c

    def test_browse_buttons_put_the_chosen_file_into_their_box(self):
        self.start_seeded()
        settings = self.open_settings()
        self.s.helper("click", settings, ".....")
        d, c = self.pick_file(settings, "beep.wav")
        self.assertEqual(d["title"], "声音提示选择")
        self.assertEqual(c[("ComboBox", 1136)][3], "wav文件(*.wav)")  # the file type box
        # The dialog starts in the program's folder.
        folder = self.exe_path().rsplit("\\", 1)[0]
        self.wait_text(settings, SETTINGS["Edit8"], (folder + "\\beep.wav").replace("\\", "\\\\"))

        editor = self.add(settings)
        self.choose_type(editor, "关闭程序", "在此输入程序的文件名或按浏览。")
        self.s.helper("click", editor, "浏览")
        d, c = self.pick_file(editor, "C:\\windows\\notepad.exe")
        self.assertEqual(c[("ComboBox", 1136)][3], "")  # no filter
        self.wait_text(editor, EDITOR["ComboBox6"], "C:\\\\windows\\\\notepad.exe")

    # ---- the scheduler tick and the one window ----
    def timer1_switches(self, app, hwnd):
        """('off'|'on', interval) for each KillTimer/SetTimer of Timer1, in order."""
        out = []
        for fn, args in app.calls():
            if len(args) >= 2 and int(args[0], 16) == int(hwnd, 16) and int(args[1], 16) == TIMER1:
                if fn.endswith("KillTimer"):
                    out.append(("off", None))
                elif fn.endswith("SetTimer"):
                    out.append(("on", int(args[2], 16)))
        return out

    def test_tick_is_off_while_the_window_is_open_and_on_after_it_closes_whatever_monitoring_shows(self):
        app = self.start_seeded(relay=["user32.SetTimer", "user32.KillTimer"])
        hwnd = self.resident()
        base = len(self.timer1_switches(app, hwnd))
        settings = self.open_settings()
        self.wait_until(lambda: self.timer1_switches(app, hwnd)[base:] == [("off", None)], 10,
                        "Timer1 not switched off: %r" % self.timer1_switches(app, hwnd)[base:])
        # A second choice of the item brings the open window forward and does nothing else.
        self.choose_settings()
        time.sleep(2)
        self.assertEqual(len([w for w in self.s.windows("TForm3")]), 1)
        self.assertEqual(self.s.windows("TForm3")[0]["hwnd"], settings)
        self.s.helper("close", settings)  # the close box
        self.wait_until(lambda: self.timer1_switches(app, hwnd)[base:] == [("off", None), ("on", 10000)], 10,
                        "Timer1 not switched on: %r" % self.timer1_switches(app, hwnd)[base:])
        self.assertEqual(self.s.windows("TForm3"), [], "a closed window is destroyed")

        # Monitoring off in the tray menu: closing the window still starts the tick.
        self.s.helper("post", hwnd, "1025", "100", "513")
        self.wait_until(lambda: [w for w in self.s.windows("#32768") if w["visible"]], 10)
        self.s.helper("key", hwnd, "DOWN", "RETURN")
        self.wait_until(lambda: self.timer1_switches(app, hwnd)[base:][-1:] == [("off", None)], 10,
                        "monitoring did not switch the tick off")
        settings = self.open_settings()
        mark = len(self.timer1_switches(app, hwnd))
        self.s.helper("click", settings, "取消(&C)")
        self.wait_until(lambda: self.timer1_switches(app, hwnd)[mark:] == [("on", 10000)], 10,
                        "Timer1 not switched on after monitoring off: %r" % self.timer1_switches(app, hwnd)[mark:])
