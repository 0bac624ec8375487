#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "scheduler/dispatch.h"
#include "store/convert.h"
#include "store/memory_registry.h"
#include "ui/task_editor.h"

namespace morrowick {
namespace {

const std::string kKey = MemoryRegistry::KeyName(RootKey::LocalMachine, kProgramKeyPath);
const ShortDateFormat kDashes("yyyy-M-d");

TEST(UptimeLabelTest, HoursAreNotReducedToADay) {
  EXPECT_EQ(UptimeLabel(90061000u), "开机时间:25时1分1秒");
  EXPECT_EQ(UptimeLabel(90061999u), "开机时间:25时1分1秒");  // whole seconds, rounded down
  EXPECT_EQ(UptimeLabel(0u), "开机时间:0时0分0秒");
  EXPECT_EQ(UptimeLabel(3599999u), "开机时间:0时59分59秒");
  EXPECT_EQ(UptimeLabel(0xFFFFFFFFu), "开机时间:1193时2分47秒");  // just before the count wraps
}

TEST(KeyFilterTest, DigitBoxesTakeBackspaceAndDigitsOnly) {
  std::string passed;
  for (int c = 0; c < 256; ++c) {
    if (DigitBoxAccepts(static_cast<char>(c))) passed += static_cast<char>(c);
  }
  EXPECT_EQ(passed, std::string("\b0123456789"));
}

// --- The type change --------------------------------------------------------------

TEST(TypeChangeTest, EachTypeSetsLabelItemsTextAndHint) {
  struct Case {
    std::string type;
    std::string label;
    std::vector<std::string> items;
    std::string text;
    std::string hint;
  };
  const std::string open = "可以打开mp3文件，程序，网址，电影视频等";
  const std::string close = "在此输入程序的文件名或按浏览。";
  const std::vector<Case> cases = {
      {"提醒", "提醒语：", {"下班时间到。", "要去上班啰。", "该吃饭了。", "该休息一下了。", "放学了。"}, "下班时间到。", ""},
      {"打开文件", "文件:", {}, open, open},
      {"关闭程序", "程序：", {}, close, close},
      {"断开拨号", "属性：", {}, "", ""},
      {"拨号连接", "属性：", {}, "", ""},
      {"注销计算机", "属性：", {}, "注销计算机", ""},
      {"待机计算机", "属性：", {}, "待机计算机", ""},
      {"休眠计算机", "属性：", {}, "休眠计算机", ""},
      {"重启计算机", "属性：", {}, "重启计算机", ""},
      {"关闭计算机", "属性：", {}, "关闭计算机", ""},
      {"快速重启", "属性：", {}, "快速重启", ""},
      {"快速关机", "属性：", {}, "快速关机", ""},
  };
  ASSERT_EQ(cases.size(), static_cast<size_t>(kTaskTypeCount));
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(c.type, kTaskTypes[i]) << "the editor lists the types in the dispatch's order";
    const TypeChange t = TypeChangeFor(c.type);
    EXPECT_TRUE(t.known) << c.type;
    EXPECT_EQ(t.label, c.label) << c.type;
    EXPECT_EQ(t.items, c.items) << c.type;
    EXPECT_EQ(t.text, c.text) << c.type;
    EXPECT_EQ(t.hint, c.hint) << c.type;
  }
}

TEST(TypeChangeTest, TheColonsDifferByteForByte) {
  auto tail = [](const std::string& s, size_t n) { return s.substr(s.size() - n); };
  const std::string wide = "\xA3\xBA";  // "：" in GBK
  EXPECT_EQ(TypeChangeFor("打开文件").label, "\xCE\xC4\xBC\xFE:");
  EXPECT_EQ(tail(TypeChangeFor("提醒").label, 2), wide);
  EXPECT_EQ(tail(TypeChangeFor("关闭程序").label, 2), wide);
  EXPECT_EQ(tail(TypeChangeFor("拨号连接").label, 2), wide);
  EXPECT_EQ(std::string(kArgumentLabelCaption), "\xCC\xE1\xD0\xD1\xD3\xEF:");
}

TEST(TypeChangeTest, AnyOtherTextLeavesTheLabelAndAnEmptyBox) {
  for (const char* text : {"", "提", "提醒 ", " 提醒", "关闭", "关闭计算机x", "abc"}) {
    const TypeChange t = TypeChangeFor(text);
    EXPECT_FALSE(t.known) << text;
    EXPECT_EQ(t.label, "") << text;
    EXPECT_TRUE(t.items.empty()) << text;
    EXPECT_EQ(t.text, "") << text;
    EXPECT_EQ(t.hint, "") << text;
  }
}

// --- OK ---------------------------------------------------------------------------

class EditorStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadSettings(reg, settings);
    reg.CloseKey();
    reg.log.clear();
  }
  std::string Text(const std::string& name) {
    auto v = reg.Get(kKey, name);
    if (!v) return "(missing)";
    return std::string(v->data.begin(), v->data.end() - 1);
  }
  uint32_t TaskNum() {
    auto v = reg.Get(kKey, "TaskNum");
    uint32_t x = 0xFFFFFFFF;
    if (v && v->type == kRegDword && v->data.size() == 4) memcpy(&x, v->data.data(), 4);
    return x;
  }
  MemoryRegistry reg;
  Settings settings;
};

ScheduleValues Times(int hour, int minute) {
  ScheduleValues v;
  v.hour = hour;
  v.minute = minute;
  return v;
}

struct KindCase {
  ScheduleKind kind;
  ScheduleValues values;
  std::string text;  // as stored
};

std::vector<KindCase> KindCases() {
  std::vector<KindCase> cases;
  ScheduleValues v;
  v.idle_minutes = "30";
  cases.push_back({ScheduleKind::Idle, v, "空闲30分钟"});
  v = Times(8, 5);
  v.date = {2024, 5, 1};
  cases.push_back({ScheduleKind::Once, v, "一次2024-5-1日8时5分"});
  cases.push_back({ScheduleKind::Daily, Times(22, 30), "每天22时30分"});
  v = Times(9, 0);
  v.weekday = "7";
  cases.push_back({ScheduleKind::Weekly, v, "每周7日9时0分"});
  v = Times(12, 0);
  v.day = "15";
  cases.push_back({ScheduleKind::Monthly, v, "每月15日12时0分"});
  v = Times(23, 59);
  v.month = "12";
  v.day = "31";
  cases.push_back({ScheduleKind::Yearly, v, "每年12月31日23时59分"});
  v = ScheduleValues{};
  v.boot_hours = "1";
  v.boot_minutes = "30";
  cases.push_back({ScheduleKind::Boot, v, "开机1时30分"});
  return cases;
}

TEST_F(EditorStoreTest, AddAppendsTheComposedTaskOfEveryKind) {
  int32_t slot = 0;
  for (const KindCase& c : KindCases()) {
    ++slot;
    EditorInput in{c.kind, c.values, "提醒", "该休息一下了。"};
    const EditorSave save = SaveEditorTask(reg, settings, EditorMode::Add, 0, in, kDashes);
    ASSERT_EQ(save.outcome, EditorSave::Outcome::Saved) << c.text;
    EXPECT_EQ(save.slot, slot);
    EXPECT_EQ(save.task.schedule, c.text);
    EXPECT_EQ(Text(SlotValueName('A', slot)), c.text);
    EXPECT_EQ(Text(SlotValueName('B', slot)), "提醒");
    EXPECT_EQ(Text(SlotValueName('C', slot)), "该休息一下了。");
    EXPECT_EQ(TaskNum(), static_cast<uint32_t>(slot));
  }
  EXPECT_EQ(settings.TaskNum, slot);
  // TaskNum first, then the slot's three values.
  EXPECT_EQ(std::vector<std::string>(reg.log.begin(), reg.log.begin() + 4),
            (std::vector<std::string>{"write TaskNum", "write A1", "write B1", "write C1"}));
}

TEST_F(EditorStoreTest, ModifyRewritesItsOwnSlotAndLeavesTheCount) {
  OpenProgramKey(reg);
  for (int i = 0; i < 3; ++i) AppendTask(reg, settings, {"每天1时0分", "提醒", "x"});
  reg.log.clear();
  EditorInput in{ScheduleKind::Weekly, Times(9, 0), "关闭计算机", "关闭计算机"};
  in.values.weekday = "0";
  const EditorSave save = SaveEditorTask(reg, settings, EditorMode::Modify, 2, in, kDashes);
  ASSERT_EQ(save.outcome, EditorSave::Outcome::Saved);
  EXPECT_EQ(save.slot, 2);
  EXPECT_EQ(reg.log, (std::vector<std::string>{"write A2", "write B2", "write C2"}));
  EXPECT_EQ(Text("A2"), "每周0日9时0分");
  EXPECT_EQ(Text("B2"), "关闭计算机");
  EXPECT_EQ(Text("A1"), "每天1时0分");
  EXPECT_EQ(TaskNum(), 3u);
}

TEST_F(EditorStoreTest, EmptyBootBoxesBecomeZeroAndShowIt) {
  EditorInput in{ScheduleKind::Boot, {}, "", ""};
  const EditorSave save = SaveEditorTask(reg, settings, EditorMode::Add, 0, in, kDashes);
  ASSERT_EQ(save.outcome, EditorSave::Outcome::Saved);
  EXPECT_EQ(save.boot_hours, "0");
  EXPECT_EQ(save.boot_minutes, "0");
  EXPECT_EQ(Text("A1"), "开机0时0分");
  EXPECT_EQ(Text("B1"), "");  // an empty type and argument are stored as they are
  EXPECT_EQ(Text("C1"), "");
}

TEST_F(EditorStoreTest, NoKindChosenWritesNothing) {
  EditorInput in{std::nullopt, Times(1, 2), "提醒", "x"};
  const EditorSave save = SaveEditorTask(reg, settings, EditorMode::Add, 0, in, kDashes);
  EXPECT_EQ(save.outcome, EditorSave::Outcome::NoKind);
  EXPECT_EQ(save.message, "请选择时间");
  EXPECT_TRUE(reg.log.empty());
  EXPECT_EQ(settings.TaskNum, 0);
}

TEST_F(EditorStoreTest, ABoxTheSchedulerCouldNotConvertIsRefusedByName) {
  struct Case {
    ScheduleKind kind;
    std::function<void(ScheduleValues&)> set;
    std::string box;
  };
  const std::vector<Case> cases = {
      {ScheduleKind::Idle, [](ScheduleValues& v) { v.idle_minutes = ""; }, "空闲的分钟数"},
      {ScheduleKind::Idle, [](ScheduleValues& v) { v.idle_minutes = "2147483648"; }, "空闲的分钟数"},
      {ScheduleKind::Weekly, [](ScheduleValues& v) { v.weekday = "一"; }, "每周的星期"},
      {ScheduleKind::Weekly, [](ScheduleValues& v) { v.weekday = ""; }, "每周的星期"},
      {ScheduleKind::Monthly, [](ScheduleValues& v) { v.day = "1日"; }, "每月的日期"},
      {ScheduleKind::Yearly, [](ScheduleValues& v) { v.month = "a"; v.day = "1"; }, "每年的月份"},
      {ScheduleKind::Yearly, [](ScheduleValues& v) { v.month = "1"; v.day = "99999999999"; }, "每年的日期"},
      {ScheduleKind::Boot, [](ScheduleValues& v) { v.boot_hours = "1 "; }, "开机后的小时数"},
      {ScheduleKind::Boot, [](ScheduleValues& v) { v.boot_minutes = "-"; }, "开机后的分钟数"},
  };
  for (const Case& c : cases) {
    EditorInput in{c.kind, Times(1, 2), "提醒", "x"};
    c.set(in.values);
    const EditorSave save = SaveEditorTask(reg, settings, EditorMode::Add, 0, in, kDashes);
    EXPECT_EQ(save.outcome, EditorSave::Outcome::Refused) << c.box;
    EXPECT_EQ(save.message, c.box + "必须是 -2147483648 到 2147483647 之间的整数。");
  }
  EXPECT_TRUE(reg.log.empty());
  EXPECT_EQ(settings.TaskNum, 0);
}

TEST_F(EditorStoreTest, RangesAreNotChecked) {
  struct Case {
    ScheduleKind kind;
    std::function<void(ScheduleValues&)> set;
    std::string text;
  };
  const std::vector<Case> cases = {
      {ScheduleKind::Weekly, [](ScheduleValues& v) { v.weekday = "9"; }, "每周9日1时2分"},
      {ScheduleKind::Monthly, [](ScheduleValues& v) { v.day = "0"; }, "每月0日1时2分"},
      {ScheduleKind::Yearly, [](ScheduleValues& v) { v.month = "2"; v.day = "30"; }, "每年2月30日1时2分"},
      {ScheduleKind::Idle, [](ScheduleValues& v) { v.idle_minutes = "-5"; }, "空闲-5分钟"},
      {ScheduleKind::Boot, [](ScheduleValues& v) { v.boot_hours = "007"; v.boot_minutes = "999"; }, "开机007时999分"},
  };
  for (const Case& c : cases) {
    EditorInput in{c.kind, Times(1, 2), "", ""};
    c.set(in.values);
    const EditorSave save = SaveEditorTask(reg, settings, EditorMode::Add, 0, in, kDashes);
    ASSERT_EQ(save.outcome, EditorSave::Outcome::Saved) << c.text;
    EXPECT_EQ(save.task.schedule, c.text);
  }
}

// --- Filling from a slot ------------------------------------------------------------

// Records what the fill writes, in order.
class RecordingFields : public EditorFields {
 public:
  std::vector<std::string> calls;
  void SetTypeText(const std::string& t) override { calls.push_back("type " + t); }
  void SetArgumentText(const std::string& t) override { calls.push_back("argument " + t); }
  void CheckKind(ScheduleKind k) override { calls.push_back("check " + std::string(ScheduleMarker(k))); }
  void SetBoxText(EditorBox box, const std::string& t) override {
    static const char* names[] = {"idle", "weekday", "monthly-day", "yearly-month", "yearly-day",
                                  "boot-hours", "boot-minutes"};
    calls.push_back(std::string(names[static_cast<int>(box)]) + " " + t);
  }
  void SetOnceDate(const CalendarDate& d) override {
    calls.push_back("date " + std::to_string(d.year) + "-" + std::to_string(d.month) + "-" +
                    std::to_string(d.day));
  }
  void SetTimeOfDay(ScheduleKind k, int h, int m) override {
    calls.push_back("time " + std::string(ScheduleMarker(k)) + " " + std::to_string(h) + ":" +
                    std::to_string(m));
  }
};

// A Tuesday: every conversion the fill makes happens whatever day the tests run on.
const LocalTime kTuesday{2024, 5, 2, 7, 10, 30, 0, 0};

class EditorFillTest : public EditorStoreTest {
 protected:
  void Store(const std::string& schedule, const std::string& type = "关闭计算机",
             const std::string& argument = "arg") {
    AppendTask(reg, settings, {schedule, type, argument});
    reg.CloseKey();
  }
  std::vector<std::string> Fill(int32_t slot, std::string* failure = nullptr) {
    RecordingFields f;
    try {
      FillEditorFromSlot(reg, slot, kTuesday, kDashes, f);
    } catch (const ConvertError& e) {
      if (failure) *failure = e.what();
      else ADD_FAILURE() << e.what();
    }
    return f.calls;
  }
};

TEST_F(EditorFillTest, EachKindFillsItsControlsThroughTheMatchOperation) {
  struct Case {
    std::string text;
    std::vector<std::string> fields;  // after type, argument and the radio button
  };
  const std::vector<Case> cases = {
      {"空闲30分钟", {"check 空闲", "idle 30"}},
      {"一次2024-5-1日8时5分", {"check 一次", "date 2024-5-1", "time 一次 8:5"}},
      {"每天22时30分", {"check 每天", "time 每天 22:30"}},
      {"每周7日9时0分", {"check 每周", "weekday 0", "time 每周 9:0"}},  // "7" shows "0"
      {"每周3日09时05分", {"check 每周", "weekday 3", "time 每周 9:5"}},
      {"每月15日12时0分", {"check 每月", "monthly-day 15", "time 每月 12:0"}},
      {"每年12月31日23时59分", {"check 每年", "yearly-month 12", "yearly-day 31", "time 每年 23:59"}},
      {"开机1时30分", {"check 开机", "boot-hours 1", "boot-minutes 30"}},
      {"开机007时999分", {"check 开机", "boot-hours 007", "boot-minutes 999"}},
      {"每天22时30", {"check 每天", "time 每天 22:30"}},  // without its closing unit
      {"abc", {}},                                        // no kind: nothing more
      {" 每天1时0分", {}},
  };
  for (const Case& c : cases) {
    reg.DeleteKey(kKey);
    LoadSettings(reg, settings);
    Store(c.text);
    std::vector<std::string> want = {"type 关闭计算机", "argument arg"};
    want.insert(want.end(), c.fields.begin(), c.fields.end());
    EXPECT_EQ(Fill(1), want) << c.text;
  }
}

TEST_F(EditorFillTest, MissingValuesReadAsEmpty) {
  settings.TaskNum = 1;
  EXPECT_EQ(Fill(1), (std::vector<std::string>{"type ", "argument "}));
}

TEST_F(EditorFillTest, AFieldThatDoesNotConvertStopsTheFillWhereItIs) {
  struct Case {
    std::string text;
    std::string failure;
    std::vector<std::string> fields;  // set before the failure
  };
  const std::vector<Case> cases = {
      {"每天25时0分", "Invalid argument to time encode", {"check 每天"}},
      {"每天8时60分", "Invalid argument to time encode", {"check 每天"}},
      {"每天-1时0分", "Invalid argument to time encode", {"check 每天"}},
      {"每天x时0分", "'x' is not a valid integer value", {"check 每天"}},
      {"空闲分钟", "'' is not a valid integer value", {"check 空闲"}},
      {"每月x日1时0分", "'x' is not a valid integer value", {"check 每月"}},
      {"一次2024-13-1日8时5分", "'2024-13-1' is not a valid date", {"check 一次"}},
      {"一次2024-5-1日8时", "'' is not a valid integer value", {"check 一次", "date 2024-5-1"}},
      {"每年5月y日1时0分", "'y' is not a valid integer value", {"check 每年"}},  // May: the day is read
      {"开机1时分", "'' is not a valid integer value", {"check 开机"}},
  };
  for (const Case& c : cases) {
    reg.DeleteKey(kKey);
    LoadSettings(reg, settings);
    Store(c.text);
    std::string failure;
    std::vector<std::string> want = {"type 关闭计算机", "argument arg"};
    want.insert(want.end(), c.fields.begin(), c.fields.end());
    EXPECT_EQ(Fill(1, &failure), want) << c.text;
    EXPECT_EQ(failure, c.failure) << c.text;
  }
}

TEST_F(EditorFillTest, WhatOkStoresFillsBackTheSameValues) {
  for (const KindCase& c : KindCases()) {
    EditorInput in{c.kind, c.values, "打开文件", "C:\\a b\\c.mp3"};
    const EditorSave save = SaveEditorTask(reg, settings, EditorMode::Add, 0, in, kDashes);
    ASSERT_EQ(save.outcome, EditorSave::Outcome::Saved);
    RecordingFields f;
    FillEditorFromSlot(reg, save.slot, kTuesday, kDashes, f);
    ASSERT_GE(f.calls.size(), 3u);
    EXPECT_EQ(f.calls[0], "type 打开文件");
    EXPECT_EQ(f.calls[1], "argument C:\\a b\\c.mp3");
    EXPECT_EQ(f.calls[2], "check " + std::string(ScheduleMarker(c.kind)));
    const ScheduleValues& v = c.values;
    const std::string time = "time " + std::string(ScheduleMarker(c.kind)) + " " +
                             std::to_string(v.hour) + ":" + std::to_string(v.minute);
    std::vector<std::string> rest(f.calls.begin() + 3, f.calls.end());
    switch (c.kind) {
      case ScheduleKind::Idle:
        EXPECT_EQ(rest, (std::vector<std::string>{"idle " + v.idle_minutes}));
        break;
      case ScheduleKind::Once:
        EXPECT_EQ(rest, (std::vector<std::string>{"date 2024-5-1", time}));
        break;
      case ScheduleKind::Daily:
        EXPECT_EQ(rest, (std::vector<std::string>{time}));
        break;
      case ScheduleKind::Weekly:  // "7" comes back as "0", the same Sunday
        EXPECT_EQ(rest, (std::vector<std::string>{"weekday 0", time}));
        break;
      case ScheduleKind::Monthly:
        EXPECT_EQ(rest, (std::vector<std::string>{"monthly-day " + v.day, time}));
        break;
      case ScheduleKind::Yearly:
        EXPECT_EQ(rest, (std::vector<std::string>{"yearly-month " + v.month, "yearly-day " + v.day, time}));
        break;
      case ScheduleKind::Boot:
        EXPECT_EQ(rest, (std::vector<std::string>{"boot-hours " + v.boot_hours, "boot-minutes " + v.boot_minutes}));
        break;
    }
  }
}

}  // namespace
}  // namespace morrowick
