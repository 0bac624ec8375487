// Thirty simulated days of a realistic task list on the whole core: daily, weekly,
// monthly (day 31 too), yearly, once, idle with a working day's pattern of input, boot,
// reminders, files, programs, dial-up and countdowns, with a shutdown cancelled now and
// then and monitoring switched on again afterwards. Every dispatch is checked against
// the moments worked out here on their own from the calendar: each task runs in the
// first ten seconds of each of its due minutes while the tick is on, never twice in that
// minute, and not at all while monitoring is off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "civil_calendar.h"
#include "simulation_support.h"
#include "store/schedule_text.h"
#include "store/store.h"

namespace morrowick::testing {
namespace {

constexpr int64_t kDayMs = 1440 * kMinuteMs;
constexpr int kDays = 30;
const int64_t kFirstDay = civil::DayNumber(2024, 5, 6);  // a Monday; the 30 days end on 4 June
constexpr int64_t kStartMs = 3 * kSecond;                // the program starts at 00:00:03
constexpr uint32_t kUptimeAtStart = 3 * 3600 * 1000;     // the system has been up three hours

struct Calendar {
  int64_t day;  // 0 .. kDays-1
  civil::Date date() const { return civil::FromDayNumber(kFirstDay + day); }
  unsigned weekday() const { return civil::Weekday(kFirstDay + day); }  // 0 = Sunday
};

// A task, what its dispatch leaves in the log, and, for the clock kinds, whether a day
// holds its minute.
struct SoakTask {
  std::string schedule;
  std::string type;
  std::string argument;
  std::string mark;  // the log entry of its dispatch, after the stamp
  int minute_of_day = -1;
  std::function<bool(const Calendar&)> on_day;
};

ScheduleValues At(int hour, int minute) {
  ScheduleValues v;
  v.hour = hour;
  v.minute = minute;
  return v;
}

std::string Text(ScheduleKind kind, ScheduleValues v) {
  return ComposeScheduleText(kind, v, ShortDateFormat(kFixedShortDatePicture));
}

std::vector<SoakTask> TaskList() {
  auto weekly = [](unsigned wd, int h, int m) {
    ScheduleValues v = At(h, m);
    v.weekday = wd == 0 ? "7" : std::to_string(wd);  // the editor offers Sunday as 7
    return Text(ScheduleKind::Weekly, v);
  };
  auto monthly = [](unsigned d, int h, int m) {
    ScheduleValues v = At(h, m);
    v.day = std::to_string(d);
    return Text(ScheduleKind::Monthly, v);
  };
  ScheduleValues yearly = At(13, 14);
  yearly.month = "5";
  yearly.day = "20";
  ScheduleValues once = At(15, 15);
  once.date = {2024, 5, 16};
  ScheduleValues idle;
  idle.idle_minutes = "30";
  ScheduleValues boot;
  boot.boot_hours = "5";
  boot.boot_minutes = "0";
  auto every_day = [](const Calendar&) { return true; };
  auto weekday_is = [](unsigned wd) { return [wd](const Calendar& c) { return c.weekday() == wd; }; };
  auto date_is = [](unsigned m, unsigned d) {
    return [m, d](const Calendar& c) { return c.date().month == m && c.date().day == d; };
  };
  auto day_of_month_is = [](unsigned d) { return [d](const Calendar& c) { return c.date().day == d; }; };

  return {
      {Text(ScheduleKind::Daily, At(3, 0)), "断开拨号", "", "show Windows 正在准备断开拨号...", 3 * 60, every_day},
      {monthly(6, 7, 0), "提醒", "月报", "prompt 月报", 7 * 60, day_of_month_is(6)},
      {Text(ScheduleKind::Daily, At(8, 30)), "提醒", "早会", "prompt 早会", 8 * 60 + 30, every_day},
      {weekly(1, 9, 0), "提醒", "周会", "prompt 周会", 9 * 60, weekday_is(1)},
      {weekly(0, 10, 0), "提醒", "周日", "prompt 周日", 10 * 60, weekday_is(0)},
      {monthly(31, 12, 0), "提醒", "月末", "prompt 月末", 12 * 60, day_of_month_is(31)},
      {Text(ScheduleKind::Yearly, yearly), "提醒", "纪念日", "prompt 纪念日", 13 * 60 + 14, date_is(5, 20)},
      {Text(ScheduleKind::Once, once), "提醒", "一次", "prompt 一次", 15 * 60 + 15, date_is(5, 16)},
      {Text(ScheduleKind::Daily, At(17, 0)), "关闭程序", "C:\\Tools\\app.exe", "terminate app.exe", 17 * 60, every_day},
      {weekly(5, 18, 0), "注销计算机", "", "show Windows 正在准备注销...", 18 * 60, weekday_is(5)},
      {weekly(3, 20, 0), "拨号连接", "", "autodial", 20 * 60, weekday_is(3)},
      {Text(ScheduleKind::Daily, At(22, 0)), "关闭计算机", "", "show Windows 正在准备关机...", 22 * 60, every_day},
      {Text(ScheduleKind::Daily, At(22, 5)), "提醒", "睡觉", "prompt 睡觉", 22 * 60 + 5, every_day},
      {monthly(1, 0, 0), "打开文件", "C:\\report.xls", "open C:\\report.xls", 0, day_of_month_is(1)},
      {Text(ScheduleKind::Idle, idle), "提醒", "休息一下", "prompt 休息一下", -1, nullptr},
      {Text(ScheduleKind::Boot, boot), "提醒", "开机五小时", "prompt 开机五小时", -1, nullptr},
  };
}

// What the test does besides letting time pass.
enum class Act { Midnight, Input, Cancel, MonitoringOn };
struct Event {
  int64_t ms;
  Act act;
};

bool CancelDay(int64_t day) { return day % 7 == 3; }  // the shutdown is cancelled on four days
constexpr int64_t kCancelAt = 22 * 60 * kMinuteMs + 30 * kSecond;
constexpr int64_t kMonitoringOnAt = 22 * 60 * kMinuteMs + 10 * kMinuteMs + 7 * kSecond;

// The user works on weekdays 9:00-12:00 and 13:00-18:00, touching the mouse every four minutes.
bool Workday(int64_t day) {
  const unsigned wd = Calendar{day}.weekday();
  return wd >= 1 && wd <= 5;
}

std::vector<Event> Events() {
  std::vector<Event> events;
  for (int64_t day = 0; day < kDays; ++day) {
    const int64_t base = day * kDayMs;
    if (day > 0) events.push_back({base, Act::Midnight});
    if (Workday(day)) {
      for (int64_t m = 9 * 60; m < 18 * 60; m += 4) {
        if (m >= 12 * 60 && m < 13 * 60) continue;
        events.push_back({base + m * kMinuteMs + 20 * kSecond, Act::Input});
      }
    }
    if (CancelDay(day)) {
      events.push_back({base + kCancelAt, Act::Cancel});
      events.push_back({base + kMonitoringOnAt, Act::MonitoringOn});
    }
  }
  return events;
}

using Window = std::pair<int64_t, int64_t>;  // [from, to) in ms since the start of the first day

// The moments each task must run, worked out from the calendar, the input pattern and
// the uptime alone.
std::vector<std::vector<Window>> Expected(const std::vector<SoakTask>& tasks, const std::vector<Event>& events) {
  std::vector<std::vector<Window>> out(tasks.size());
  auto monitoring_off = [](int64_t ms) {
    const int64_t day = ms / kDayMs, in_day = ms % kDayMs;
    return CancelDay(day) && in_day >= kCancelAt && in_day < kMonitoringOnAt;
  };
  for (size_t i = 0; i < tasks.size(); ++i) {
    const SoakTask& t = tasks[i];
    if (t.type == "提醒" && t.argument == "休息一下") {
      // Once per idle period: thirty minutes after an input that no input follows
      // within them (the program's start counts as the last input).
      std::vector<int64_t> inputs = {kStartMs};
      for (const Event& e : events) {
        if (e.act == Act::Input) inputs.push_back(e.ms);
      }
      for (size_t k = 0; k < inputs.size(); ++k) {
        const int64_t due = inputs[k] + 30 * kMinuteMs;
        const bool interrupted = k + 1 < inputs.size() && inputs[k + 1] <= due + 10 * kSecond;
        if (!interrupted && due < kDays * kDayMs && !monitoring_off(due)) out[i].push_back({due, due + 10 * kSecond});
      }
    } else if (t.argument == "开机五小时") {
      const int64_t due = 5 * 60 * kMinuteMs - kUptimeAtStart;
      out[i].push_back({due, due + 10 * kSecond});
    } else {
      for (int64_t day = 0; day < kDays; ++day) {
        if (!t.on_day(Calendar{day})) continue;
        const int64_t due = day * kDayMs + t.minute_of_day * kMinuteMs;
        if (due < kStartMs || monitoring_off(due)) continue;
        out[i].push_back({due, due + 10 * kSecond});
      }
    }
  }
  return out;
}

int64_t StampMs(const std::string& entry) {
  unsigned h = 0, m = 0, s = 0;
  std::sscanf(entry.c_str(), "%u:%u:%u", &h, &m, &s);
  return ((h * 60 + m) * 60 + s) * kSecond;
}

TEST(SoakSimulation, ThirtyDaysOfARealisticTaskListRunEachTaskExactlyWhenDue) {
  const std::vector<SoakTask> tasks = TaskList();
  const std::vector<Event> events = Events();
  Simulation sim(DateTime(2024, 5, 6, 0, 0, 3), kUptimeAtStart);
  std::vector<TaskTexts> texts;
  for (const SoakTask& t : tasks) texts.push_back({t.schedule, t.type, t.argument});
  sim.Tasks(texts);
  sim.processes = {{100, "app.exe"}};
  sim.dialup_connections = 1;
  sim.Start();

  // Every log entry with its moment in ms since the start of the first day.
  std::vector<std::pair<int64_t, std::string>> timeline;
  size_t seen = 0;
  int64_t day = 0;
  auto collect = [&] {
    for (; seen < sim.log.size(); ++seen) {
      timeline.push_back({day * kDayMs + StampMs(sim.log[seen]), sim.log[seen].substr(9)});
    }
  };
  for (const Event& e : events) {
    sim.RunUntil(e.ms - kStartMs);
    collect();
    switch (e.act) {
      case Act::Midnight:
        day = e.ms / kDayMs;
        sim.processes = {{static_cast<uint32_t>(100 + day), "app.exe"}};
        sim.dialup_connections = 1;
        break;
      case Act::Input:
        sim.Input();
        break;
      case Act::Cancel:
        ASSERT_TRUE(sim.window.shown) << "no countdown to cancel on day " << day;
        sim.ClickBitBtn2();
        break;
      case Act::MonitoringOn:
        ASSERT_FALSE(sim.n1.checked);
        sim.ClickN1();
        break;
    }
  }
  sim.RunUntil(kDays * kDayMs - kStartMs);
  collect();

  const std::vector<std::vector<Window>> expected = Expected(tasks, events);
  size_t dispatches = 0;
  for (size_t i = 0; i < tasks.size(); ++i) {
    std::vector<int64_t> got;
    for (const auto& [ms, what] : timeline) {
      if (what == tasks[i].mark) got.push_back(ms);
    }
    dispatches += got.size();
    ASSERT_EQ(got.size(), expected[i].size()) << tasks[i].schedule << " " << tasks[i].type;
    for (size_t k = 0; k < got.size(); ++k) {
      EXPECT_GE(got[k], expected[i][k].first) << tasks[i].schedule << " run " << k;
      EXPECT_LT(got[k], expected[i][k].second) << tasks[i].schedule << " run " << k;
    }
  }
  // Nothing else was dispatched, and no failure was reported. The hang-up tells its
  // outcome in a prompt of its own when its countdown runs out.
  size_t other = 0;
  for (const auto& [ms, what] : timeline) {
    EXPECT_NE(what.rfind("error", 0), 0u) << what;
    if (what == "prompt 断开成功") continue;
    if (what.rfind("prompt", 0) == 0 || what.rfind("show", 0) == 0 || what.rfind("open", 0) == 0 ||
        what.rfind("terminate", 0) == 0 || what.rfind("autodial", 0) == 0) {
      ++other;
    }
  }
  EXPECT_EQ(other, dispatches);

  // The countdowns that were not cancelled ran out and acted once each.
  auto count = [&](const std::string& what) {
    return std::count_if(timeline.begin(), timeline.end(), [&](const auto& e) { return e.second == what; });
  };
  const int64_t cancels = std::count_if(events.begin(), events.end(), [](const Event& e) { return e.act == Act::Cancel; });
  EXPECT_EQ(cancels, 4);
  EXPECT_EQ(count("power ExitWindowsEx(12)"), kDays - cancels);
  EXPECT_EQ(count("hangup 0x51"), kDays);
  EXPECT_EQ(count("prompt 断开成功"), kDays);
  // A cancel turns monitoring off through the switch, then shows the disabled picture once more.
  EXPECT_EQ(count("tray DISSHUT Morrowick-禁用"), 2 * cancels);
  EXPECT_EQ(count("tray ENASHUT Morrowick-启用"), cancels);
  EXPECT_TRUE(sim.n1.checked);
  EXPECT_TRUE(sim.Timer1.Enabled() || sim.Timer3.Enabled());
}

}  // namespace
}  // namespace morrowick::testing
