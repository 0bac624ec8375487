// The scheduler tick, the task dispatch and the countdown together, over hours of
// virtual time: timings are checked to the second.
#include <gtest/gtest.h>

#include "simulation_support.h"
#include "store/store.h"

namespace morrowick::testing {
namespace {

using Lines = std::vector<std::string>;

const std::string kKey = MemoryRegistry::KeyName(RootKey::LocalMachine, kProgramKeyPath);

// Monday 6 May 2024; the resident window is created at the given time of day, so its
// scheduler ticks fall ten seconds after it and every ten seconds from there.
LocalTime Monday(unsigned hour, unsigned minute, unsigned second) {
  return DateTime(2024, 5, 6, hour, minute, second);
}

TEST(SchedulerSimulation, TypicalDailyShutdownIsAnnouncedCountedDownAndPerformed) {
  Simulation sim(Monday(22, 29, 55));
  sim.Setting("soundpath", "C:\\warn.wav");
  sim.Tasks({{"每天22时30分", "关闭计算机", ""}});
  sim.Start();
  sim.RunTo(22, 30, 5);
  EXPECT_EQ(sim.log, (Lines{"22:30:05 show Windows 正在准备关机...", "22:30:05 sound 0x20009 C:\\warn.wav"}));
  EXPECT_EQ(sim.state.PendingAction, "关机");
  EXPECT_EQ(sim.window.Text(CountdownText::Label1), "要想取消关机，请按下<取消关机>按钮:剩余");
  EXPECT_EQ(sim.window.Text(CountdownText::Label2), "60 秒");
  EXPECT_FALSE(sim.Timer1.Enabled());
  sim.RunTo(22, 30, 6);
  EXPECT_EQ(sim.window.Text(CountdownText::Label2), "59 秒");
  sim.RunTo(23, 30, 0);
  EXPECT_EQ(sim.log, (Lines{"22:30:05 show Windows 正在准备关机...", "22:30:05 sound 0x20009 C:\\warn.wav",
                            "22:31:05 sound 0x0 C:\\warn.wav", "22:31:05 hide",
                            "22:31:05 power ExitWindowsEx(12)"}));
  EXPECT_TRUE(sim.Timer1.Enabled());  // the tick went on after the run-out, finding nothing due
}

TEST(SchedulerSimulation, TypicalDailyShutdownCancelledLeavesMonitoringOff) {
  Simulation sim(Monday(22, 29, 55));
  sim.Tasks({{"每天22时30分", "关闭计算机", ""}});
  sim.Start();
  sim.RunTo(22, 30, 20);
  sim.ClickBitBtn2();
  const int ticks = sim.timer1_ticks;
  sim.RunTo(23, 59, 0);
  EXPECT_EQ(sim.timer1_ticks, ticks);
  EXPECT_TRUE(sim.Entries("power").empty());
  EXPECT_FALSE(sim.n1.checked);
  EXPECT_EQ(sim.Entries("tray").back(), "22:30:20 tray DISSHUT Morrowick-禁用");
}

TEST(SchedulerSimulation, DailyReminderIsShownOnceAndTheNextMinutesAfterThePause) {
  Simulation sim(Monday(11, 59, 55));
  sim.Tasks({{"每天12时0分", "提醒", "十二点"}, {"每天12时1分", "提醒", "十二点一分"}});
  sim.Start();
  sim.RunTo(12, 10, 0);
  EXPECT_EQ(sim.Entries("prompt"), (Lines{"12:00:05 prompt 十二点", "12:01:15 prompt 十二点一分"}));
  // No tick between the dispatch and the end of the pause.
  Simulation quiet(Monday(11, 59, 55));
  quiet.Tasks({{"每天12时0分", "提醒", "十二点"}});
  quiet.Start();
  quiet.RunTo(12, 0, 5);
  const int ticks = quiet.timer1_ticks;
  quiet.RunTo(12, 1, 14);
  EXPECT_EQ(quiet.timer1_ticks, ticks);
  quiet.RunTo(12, 1, 15);
  EXPECT_EQ(quiet.timer1_ticks, ticks + 1);
}

TEST(SchedulerSimulation, TwoDueSlotsAreDispatchedInOneTickLowerFirst) {
  Simulation sim(Monday(11, 59, 55));
  sim.Tasks({{"每周1日12时0分", "提醒", "一"}, {"每天3时0分", "提醒", "no"}, {"每月6日12时0分", "提醒", "二"}});
  sim.Start();
  sim.RunTo(12, 5, 0);
  EXPECT_EQ(sim.Entries("prompt"), (Lines{"12:00:05 prompt 一", "12:00:05 prompt 二"}));
}

TEST(SchedulerSimulation, IdleTaskRunsOncePerIdlePeriod) {
  Simulation sim(Monday(10, 0, 0));  // the last input at the start
  sim.Tasks({{"空闲5分钟", "提醒", "休息"}});
  sim.Start();
  sim.RunTo(11, 0, 3);
  EXPECT_EQ(sim.Times("prompt"), (Lines{"10:05:00"}));
  sim.Input();
  sim.RunTo(12, 0, 0);
  EXPECT_EQ(sim.Times("prompt"), (Lines{"10:05:00", "11:05:10"}));
}

TEST(SchedulerSimulation, BootTaskWhoseMinutePassedBeforeStartNeverRuns) {
  // The system has been up 40 minutes when the program starts.
  Simulation sim(Monday(9, 0, 0), 40 * kMinuteMs);
  sim.Tasks({{"开机0时30分", "提醒", "passed"}, {"开机0时45分", "提醒", "coming"}});
  sim.Start();
  sim.RunTo(12, 0, 0);
  EXPECT_EQ(sim.Entries("prompt"), (Lines{"09:05:00 prompt coming"}));
}

TEST(SchedulerSimulation, HangUpWithTenSecondCountdownIsDispatchedThreeTimesInItsMinute) {
  Simulation sim(Monday(11, 59, 57));
  sim.Setting("tishi", 10);
  sim.Tasks({{"每天12时0分", "断开拨号", ""}});
  sim.Start();
  sim.RunTo(12, 10, 0);
  EXPECT_EQ(sim.Times("show"), (Lines{"12:00:07", "12:00:27", "12:00:47"}));
  EXPECT_EQ(sim.Entries("prompt"), (Lines{"12:00:17 prompt 没有可用的拨号连接", "12:00:37 prompt 没有可用的拨号连接",
                                          "12:00:57 prompt 没有可用的拨号连接"}));
  EXPECT_TRUE(sim.Entries("power").empty());
}

TEST(SchedulerSimulation, TwoCountdownTasksInOneTickEndInTheHigherSlotsWord) {
  Simulation sim(Monday(11, 59, 55));
  sim.Tasks({{"每天3时0分", "提醒", ""},
             {"每天12时0分", "关闭计算机", ""},
             {"每天3时0分", "提醒", ""},
             {"每天3时0分", "提醒", ""},
             {"每天12时0分", "重启计算机", ""}});
  sim.Start();
  sim.RunTo(12, 0, 5);
  EXPECT_EQ(sim.Entries("show"), (Lines{"12:00:05 show Windows 正在准备关机...",
                                        "12:00:05 show Windows 正在准备重启..."}));
  EXPECT_EQ(sim.window.Text(CountdownText::BitBtn1), "立即重启");
  EXPECT_EQ(sim.window.Text(CountdownText::BitBtn2), "取消重启");
  sim.RunTo(12, 5, 0);
  EXPECT_EQ(sim.Entries("power"), (Lines{"12:01:05 power ExitWindowsEx(6)"}));
}

TEST(SchedulerSimulation, CountdownThenReminderInOneTickPerformsNothing) {
  Simulation sim(Monday(11, 59, 55));
  sim.Tasks({{"每天12时0分", "关闭计算机", ""}, {"每天12时0分", "提醒", "喝水"}});
  sim.Start();
  sim.RunTo(12, 0, 5);
  EXPECT_EQ(sim.log, (Lines{"12:00:05 show Windows 正在准备关机...", "12:00:05 prompt 喝水"}));
  EXPECT_TRUE(sim.window.shown);
  EXPECT_TRUE(sim.Timer2.Enabled());
  EXPECT_TRUE(sim.Timer3.Enabled());
  sim.RunTo(12, 5, 0);
  EXPECT_EQ(sim.Entries("hide"), (Lines{"12:01:05 hide"}));
  EXPECT_TRUE(sim.Entries("power").empty());
}

TEST(SchedulerSimulation, ReminderThenCountdownInOneTickEndsInShutdown) {
  Simulation sim(Monday(11, 59, 55));
  sim.Tasks({{"每天12时0分", "提醒", "喝水"}, {"每天12时0分", "关闭计算机", ""}});
  sim.Start();
  sim.RunTo(12, 5, 0);
  EXPECT_EQ(sim.log, (Lines{"12:00:05 prompt 喝水", "12:00:05 show Windows 正在准备关机...", "12:01:05 hide",
                            "12:01:05 power ExitWindowsEx(12)"}));
}

TEST(SchedulerSimulation, PauseEndsTheTickEvenWhileACountdownOfTheSameTickRuns) {
  Simulation sim(Monday(11, 59, 55));
  sim.Setting("tishi", 120);
  sim.Tasks({{"每天12时0分", "提醒", "喝水"}, {"每天12时0分", "关闭计算机", ""}, {"每天12时1分", "提醒", "again"}});
  sim.Start();
  sim.RunTo(12, 1, 15);
  // Timer3 switched the tick on at 12:01:05 while the countdown still runs.
  EXPECT_TRUE(sim.window.shown);
  EXPECT_EQ(sim.Entries("prompt"), (Lines{"12:00:05 prompt 喝水", "12:01:15 prompt again"}));
}

TEST(SchedulerSimulation, EmptyIdleFieldBlocksEveryHigherSlotWhileLowerOnesStillRun) {
  Simulation sim(Monday(11, 59, 55));
  sim.Tasks({{"每天12时0分", "提醒", "low"}, {"空闲分钟", "提醒", "bad"}, {"每天12时0分", "提醒", "high"},
             {"空闲0分钟", "提醒", "idle"}});
  sim.Start();
  sim.RunTo(11, 59, 59);
  sim.Input();
  sim.RunTo(12, 3, 0);
  EXPECT_EQ(sim.Entries("prompt"), (Lines{"12:00:05 prompt low"}));
  // Every tick, the one of 12:00:05 included, fails at slot 2 and reports it.
  const Lines errors = sim.Entries("error");
  ASSERT_EQ(static_cast<int>(errors.size()), sim.timer1_ticks);
  EXPECT_EQ(errors.front(), "12:00:05 error '' is not a valid integer value");
  EXPECT_EQ(errors.back(), "12:02:55 error '' is not a valid integer value");
  EXPECT_EQ(sim.timer1_ticks, 1 + 11);  // 12:00:05, then 12:01:15 ... 12:02:55 after the pause
  EXPECT_TRUE(sim.Timer1.Enabled());
}

TEST(SchedulerSimulation, NoTaskRunsWhileMonitoringIsOffAndNoneIsCaughtUp) {
  Simulation sim(Monday(11, 58, 0));
  sim.Tasks({{"每天12时0分", "提醒", "noon"}, {"每天12时5分", "关闭计算机", ""}});
  sim.Start();
  sim.RunTo(11, 59, 0);
  sim.ClickN1();
  EXPECT_EQ(sim.log, (Lines{"11:59:00 tray DISSHUT Morrowick-禁用"}));
  const int ticks = sim.timer1_ticks;
  sim.RunTo(12, 6, 0);
  EXPECT_EQ(sim.timer1_ticks, ticks);
  sim.ClickN1();
  sim.RunTo(13, 0, 0);
  EXPECT_EQ(sim.log, (Lines{"11:59:00 tray DISSHUT Morrowick-禁用", "12:06:00 tray ENASHUT Morrowick-启用"}));
  EXPECT_GT(sim.timer1_ticks, ticks);
}

TEST(SchedulerSimulation, TheWalkVisitsTheCountHeldInMemoryAndSkipsEmptySlots) {
  Simulation sim(Monday(11, 59, 55));
  sim.Tasks({{"每天12时0分", "提醒", "1"}, {"", "提醒", "empty"}, {"每天12时0分", "提醒", "3"}});
  sim.registry.PutString(kKey, "A4", "每天12时0分");  // beyond TaskNum
  sim.registry.PutString(kKey, "B4", "提醒");
  sim.Start();
  sim.registry.DeleteKey(kKey);  // changes of the store do not change the count in memory
  sim.Tasks({{"每天12时0分", "提醒", "1"}, {"", "提醒", "empty"}, {"每天12时0分", "提醒", "3"},
             {"每天12时0分", "提醒", "4"}});
  sim.RunTo(12, 0, 5);
  EXPECT_EQ(sim.Entries("prompt"), (Lines{"12:00:05 prompt 1", "12:00:05 prompt 3"}));
}

// The registry calls of a tick, in order, around the simulation's in-memory registry.
class CallLog : public RegistryAccessor {
 public:
  explicit CallLog(RegistryAccessor& inner) : inner_(inner) {}
  void SetRootKey(RootKey root) override {
    calls.push_back(root == RootKey::LocalMachine ? "SetRootKey HKLM" : "SetRootKey HKCU");
    inner_.SetRootKey(root);
  }
  RootKey GetRootKey() const override { return inner_.GetRootKey(); }
  bool OpenKey(const std::string& path, bool create) override {
    calls.push_back("OpenKey " + path + (create ? " create" : ""));
    return inner_.OpenKey(path, create);
  }
  void CloseKey() override {
    calls.push_back("CloseKey");
    inner_.CloseKey();
  }
  bool ValueExists(const std::string& name) override { return inner_.ValueExists(name); }
  std::string ReadString(const std::string& name) override {
    calls.push_back("ReadString " + name);
    return inner_.ReadString(name);
  }
  int32_t ReadInteger(const std::string& name) override {
    calls.push_back("ReadInteger " + name);
    return inner_.ReadInteger(name);
  }
  void WriteString(const std::string& name, const std::string& text) override {
    calls.push_back("WriteString " + name);
    inner_.WriteString(name, text);
  }
  void WriteInteger(const std::string& name, int32_t value) override {
    calls.push_back("WriteInteger " + name);
    inner_.WriteInteger(name, value);
  }
  void DeleteValue(const std::string& name) override { inner_.DeleteValue(name); }
  Lines calls;

 private:
  RegistryAccessor& inner_;
};

TEST(SchedulerSimulation, TickReadsEachSlotOnceBetweenOpeningAndClosingTheKey) {
  struct Case {
    std::vector<TaskTexts> tasks;
    Lines reads;  // between OpenKey and the end
    bool closes;
  };
  const std::vector<Case> cases = {
      {{}, {}, true},
      {{{"每天3时0分", "提醒", ""}, {"", "提醒", ""}, {"不是日程", "提醒", ""}},
       {"ReadString A1", "ReadString A2", "ReadString A3"},
       true},
      {{{"每天3时0分", "提醒", ""}, {"每天12时0分", "提醒", "x"}, {"每天12时0分", "关闭计算机", ""}},
       {"ReadString A1", "ReadString A2", "ReadString B2", "ReadString C2", "ReadString A3", "ReadString B3"},
       true},
      {{{"每天12时0分", "拨号连接", ""}, {"每周x日3时0分", "提醒", ""}, {"每天12时0分", "提醒", ""}},
       {"ReadString A1", "ReadString B1", "ReadString A2"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tasks.size());
    Simulation sim(Monday(11, 59, 55));
    sim.Tasks(c.tasks);
    sim.Start();
    CallLog calls(sim.registry);
    sim.state.registry = &calls;
    sim.RunTo(12, 0, 5);
    Lines expected = {"SetRootKey HKLM", "OpenKey \\Software\\Quorvane\\Morrowick create"};
    expected.insert(expected.end(), c.reads.begin(), c.reads.end());
    if (c.closes) expected.push_back("CloseKey");
    EXPECT_EQ(calls.calls, expected);
  }
}

TEST(SchedulerSimulation, ReadFailureEndsTheTickAtThatSlotEveryTime) {
  Simulation sim(Monday(11, 59, 55));
  sim.Tasks({{"每天3时0分", "提醒", ""}, {"每天12时0分", "提醒", "never"}, {"每天12时0分", "提醒", "never"}});
  sim.registry.PutDword(kKey, "A2", 7);
  sim.Start();
  sim.RunTo(12, 0, 35);
  EXPECT_EQ(sim.log, (Lines{"12:00:05 error Invalid data type for 'A2'", "12:00:15 error Invalid data type for 'A2'",
                            "12:00:25 error Invalid data type for 'A2'", "12:00:35 error Invalid data type for 'A2'"}));
}

}  // namespace
}  // namespace morrowick::testing
