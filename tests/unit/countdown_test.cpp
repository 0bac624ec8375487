// The countdown's state machine on the simulated resident window, timers and sound.
#include <gtest/gtest.h>

#include "simulation_support.h"

namespace morrowick::testing {
namespace {

using Lines = std::vector<std::string>;

class CountdownTest : public ::testing::Test {
 protected:
  // A resident window created at 12:00:00 with these settings.
  void Begin(int32_t tishi = 60, const std::string& soundpath = "", int32_t shutapp = 0) {
    sim.Setting("tishi", tishi);
    sim.Setting("soundpath", soundpath);
    sim.Setting("shutapp", shutapp);
    sim.Start();
  }
  // What the task dispatch does for a countdown type.
  void Announce(const std::string& word) {
    sim.state.PendingAction = word;
    sim.countdown.StartCountdown();
  }
  std::string Text(CountdownText which) { return sim.window.Text(which); }
  // The log entries made after the first `from`.
  Lines LogFrom(size_t from) { return Lines(sim.log.begin() + static_cast<long>(from), sim.log.end()); }

  Simulation sim{DateTime(2024, 5, 6, 12, 0, 0)};
};

TEST_F(CountdownTest, MyChangeCaptionWritesTheFourTextsInOrder) {
  Begin();
  sim.countdown.MyChangeCaption("关机");
  EXPECT_EQ(sim.window.written, (std::vector<CountdownText>{CountdownText::BitBtn1, CountdownText::BitBtn2,
                                                            CountdownText::Label1, CountdownText::Title}));
  EXPECT_EQ(Text(CountdownText::BitBtn1), "立即关机");
  EXPECT_EQ(Text(CountdownText::BitBtn2), "取消关机");
  EXPECT_EQ(Text(CountdownText::Label1), "要想取消关机，请按下<取消关机>按钮:剩余");
  EXPECT_EQ(Text(CountdownText::Title), "Windows 正在准备关机...");
  // The full-width comma (GBK A3 AC) and the plain ASCII colon.
  const std::string label = Text(CountdownText::Label1);
  EXPECT_NE(label.find("\xA3\xAC"), std::string::npos);
  ASSERT_GE(label.size(), 5u);
  EXPECT_EQ(label[label.size() - 5], ':');  // right before 剩余

  sim.countdown.MyChangeCaption("断开拨号");
  EXPECT_EQ(Text(CountdownText::BitBtn1), "立即断开拨号");
  EXPECT_EQ(Text(CountdownText::Label1), "要想取消断开拨号，请按下<取消断开拨号>按钮:剩余");
  EXPECT_EQ(Text(CountdownText::Title), "Windows 正在准备断开拨号...");
}

TEST_F(CountdownTest, StartWithoutActionWordStartsNothing) {
  Begin(60, "C:\\warn.wav", 1);
  sim.other_windows = {0x111};
  Announce("");
  EXPECT_TRUE(sim.log.empty());
  EXPECT_TRUE(sim.window.written.empty());
  EXPECT_TRUE(sim.Timer1.Enabled());
  EXPECT_FALSE(sim.Timer2.Enabled());
}

TEST_F(CountdownTest, SixtySecondsShowTheSecondsLeftAndActInTheSixtiethTick) {
  Begin(60, "C:\\warn.wav");
  Announce("关机");
  EXPECT_EQ(sim.log, (Lines{"12:00:00 show Windows 正在准备关机...", "12:00:00 sound 0x20009 C:\\warn.wav"}));
  EXPECT_EQ(Text(CountdownText::Label2), "60 秒");
  EXPECT_TRUE(sim.window.shown);
  EXPECT_TRUE(sim.Timer2.Enabled());
  EXPECT_FALSE(sim.Timer1.Enabled());

  sim.RunFor(1000);
  EXPECT_EQ(Text(CountdownText::Label2), "59 秒");
  EXPECT_EQ(sim.window.position, 1);
  sim.RunFor(58000);
  EXPECT_EQ(Text(CountdownText::Label2), "1 秒");
  EXPECT_EQ(sim.log.size(), 2u);

  sim.RunFor(1000);
  EXPECT_EQ(LogFrom(2), (Lines{"12:01:00 sound 0x0 C:\\warn.wav", "12:01:00 hide",
                               "12:01:00 power ExitWindowsEx(12)"}));
  EXPECT_EQ(Text(CountdownText::Label2), "0 秒");
  EXPECT_EQ(sim.window.position, 0);
  EXPECT_FALSE(sim.window.shown);
  EXPECT_FALSE(sim.Timer2.Enabled());
  EXPECT_TRUE(sim.Timer1.Enabled());
  EXPECT_EQ(sim.Timer1.due(), 70000);  // the next scheduler tick ten seconds after the run-out
  sim.RunFor(10 * kMinuteMs);
  EXPECT_EQ(sim.Entries("power").size(), 1u);
}

TEST_F(CountdownTest, ZeroSecondsActInTheFirstTick) {
  Begin(0);
  Announce("重启");
  EXPECT_EQ(Text(CountdownText::Label2), "0 秒");
  sim.RunFor(999);
  EXPECT_TRUE(sim.Entries("power").empty());
  sim.RunFor(1);
  EXPECT_EQ(Text(CountdownText::Label2), "0 秒");
  EXPECT_EQ(sim.Entries("power"), (Lines{"12:00:01 power ExitWindowsEx(6)"}));
  EXPECT_TRUE(sim.Entries("sound").empty());  // no sound set: no sound call at all
}

TEST_F(CountdownTest, SweepRunsAtTheStartOnlyForStandbyAndHibernateWithShutappOne) {
  const char* words[] = {"注销", "待机", "休眠", "重启", "关机", "断开拨号", "快速重启", "快速关机"};
  for (const char* word : words) {
    for (int32_t shutapp : {0, 1, 2}) {
      SCOPED_TRACE(std::string(word) + " shutapp " + std::to_string(shutapp));
      Simulation s(DateTime(2024, 5, 6, 12, 0, 0));
      s.Setting("shutapp", shutapp);
      s.Start();
      s.other_windows = {0x111, 0x222};
      s.state.PendingAction = word;
      s.countdown.StartCountdown();
      const bool sweeps = shutapp == 1 && (std::string(word) == "待机" || std::string(word) == "休眠");
      EXPECT_EQ(s.Entries("close"), (sweeps ? Lines{"12:00:00 close 0x111", "12:00:00 close 0x222"} : Lines{}));
      s.RunFor(2 * kMinuteMs);  // nothing more is closed at the run-out
      EXPECT_EQ(s.Entries("close").size(), sweeps ? 2u : 0u);
    }
  }
}

TEST_F(CountdownTest, SecondStartWhileCountingRewordsRestartsTheSoundAndKeepsTheElapsedTicks) {
  Begin(60, "C:\\warn.wav");
  Announce("关机");
  sim.RunFor(20500);
  EXPECT_EQ(sim.window.position, 20);
  const size_t before = sim.log.size();
  Announce("重启");
  EXPECT_EQ(LogFrom(before), (Lines{"12:00:20 show Windows 正在准备重启...", "12:00:20 sound 0x20009 C:\\warn.wav"}));
  EXPECT_EQ(Text(CountdownText::BitBtn2), "取消重启");
  EXPECT_EQ(Text(CountdownText::Label2), "40 秒");
  EXPECT_EQ(sim.window.position, 20);
  EXPECT_EQ(sim.Timer2.due(), 21000);  // the one-second rhythm goes on unchanged
  sim.RunTo(12, 1, 0);
  EXPECT_EQ(sim.Entries("power"), (Lines{"12:01:00 power ExitWindowsEx(6)"}));
}

TEST_F(CountdownTest, RunOutPerformsTheWordHeldAtThatMoment) {
  Begin(30);
  Announce("关机");
  sim.RunFor(10 * kSecond);
  sim.state.PendingAction = "注销";
  sim.RunFor(20 * kSecond);
  EXPECT_EQ(sim.Entries("power"), (Lines{"12:00:30 power ExitWindowsEx(4)"}));

  // An immediate task emptied it meanwhile: nothing is performed.
  Announce("关机");
  sim.state.PendingAction.clear();
  sim.RunFor(30 * kSecond);
  EXPECT_EQ(sim.Entries("power").size(), 1u);
  EXPECT_EQ(sim.Entries("hide"), (Lines{"12:00:30 hide", "12:01:00 hide"}));
  EXPECT_TRUE(sim.Timer1.Enabled());
}

TEST_F(CountdownTest, ActingAtOnceEndsTheSoundOnlyWhenOneIsSetAndPerformsTheWordNow) {
  Begin(60);
  Announce("关机");
  sim.RunFor(5 * kSecond);
  sim.state.PendingAction = "快速关机";
  sim.ClickBitBtn1();
  EXPECT_EQ(LogFrom(1), (Lines{"12:00:05 hide", "12:00:05 power NtShutdownSystem(2)"}));
  EXPECT_EQ(sim.window.position, 0);
  EXPECT_TRUE(sim.Timer1.Enabled());
  EXPECT_FALSE(sim.Timer2.Enabled());
  EXPECT_EQ(sim.Timer1.due(), 15 * kSecond);

  Simulation with_sound(DateTime(2024, 5, 6, 12, 0, 0));
  with_sound.Setting("soundpath", "D:\\声音.wav");
  with_sound.Start();
  with_sound.state.PendingAction = "待机";
  with_sound.countdown.StartCountdown();
  with_sound.ClickBitBtn1();
  EXPECT_EQ(with_sound.log, (Lines{"12:00:00 show Windows 正在准备待机...", "12:00:00 sound 0x20009 D:\\声音.wav",
                                   "12:00:00 sound 0x0 D:\\声音.wav", "12:00:00 hide",
                                   "12:00:00 power SetSystemPowerState(1,1)"}));
}

TEST_F(CountdownTest, CancelTurnsMonitoringOffAndAlwaysEndsWithTheDisabledIcon) {
  Begin(60);
  Announce("关机");
  sim.RunFor(5 * kSecond);
  sim.ClickBitBtn2();
  // The ending sound call is made without a sound path too.
  EXPECT_EQ(LogFrom(1), (Lines{"12:00:05 sound 0x0 ", "12:00:05 tray DISSHUT Morrowick-禁用", "12:00:05 hide",
                               "12:00:05 tray DISSHUT Morrowick-禁用"}));
  EXPECT_FALSE(sim.n1.checked);
  EXPECT_FALSE(sim.Timer1.Enabled());
  EXPECT_FALSE(sim.Timer2.Enabled());
  EXPECT_EQ(sim.window.position, 0);
  sim.RunFor(30 * kMinuteMs);
  EXPECT_EQ(sim.timer1_ticks, 0);
  EXPECT_TRUE(sim.Entries("power").empty());

  // Monitoring already off stays off.
  Announce("关机");
  sim.RunFor(3 * kSecond);
  const size_t before = sim.log.size();
  sim.ClickBitBtn2();
  EXPECT_EQ(LogFrom(before), (Lines{"12:30:08 sound 0x0 ", "12:30:08 hide", "12:30:08 tray DISSHUT Morrowick-禁用"}));
  EXPECT_FALSE(sim.n1.checked);
  EXPECT_FALSE(sim.Timer1.Enabled());
}

TEST_F(CountdownTest, LengthChangedWhileCountingAppliesFromTheNextTick) {
  Begin(60);
  Announce("关机");
  sim.RunFor(10 * kSecond);
  // The settings window confirmed 5 seconds: the bar's maximum goes with it.
  sim.state.settings.tishi = 5;
  sim.window.max = 5;
  sim.RunFor(1 * kSecond);
  EXPECT_EQ(sim.Entries("power"), (Lines{"12:00:11 power ExitWindowsEx(12)"}));
  EXPECT_EQ(Text(CountdownText::Label2), "0 秒");

  sim.state.settings.tishi = sim.window.max = 60;
  Announce("关机");
  sim.RunFor(10 * kSecond);
  sim.state.settings.tishi = sim.window.max = 15;
  sim.RunFor(4 * kSecond);
  EXPECT_EQ(Text(CountdownText::Label2), "1 秒");
  sim.RunFor(1 * kSecond);
  EXPECT_EQ(sim.Entries("power").back(), "12:00:26 power ExitWindowsEx(12)");
}

TEST_F(CountdownTest, HangUpRunOutTellsTheOutcomeAndTheProgramGoesOn) {
  Begin(10);
  sim.dialup_connections = 1;
  Announce("断开拨号");
  sim.RunFor(10 * kSecond);
  EXPECT_EQ(LogFrom(1), (Lines{"12:00:10 hide", "12:00:10 hangup 0x51", "12:00:10 prompt 断开成功"}));
  EXPECT_TRUE(sim.Timer1.Enabled());
  EXPECT_EQ(sim.state.PendingAction, "断开拨号");  // the countdown never clears it
}

}  // namespace
}  // namespace morrowick::testing
