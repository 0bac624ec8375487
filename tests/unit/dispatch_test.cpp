// The task dispatch of one due slot, on the simulated core.
#include <gtest/gtest.h>

#include "simulation_support.h"
#include "store/store.h"

namespace morrowick::testing {
namespace {

using Lines = std::vector<std::string>;

const std::string kKey = MemoryRegistry::KeyName(RootKey::LocalMachine, kProgramKeyPath);

class DispatchTest : public ::testing::Test {
 protected:
  void Begin(const std::vector<TaskTexts>& tasks) {
    sim.Tasks(tasks);
    sim.Start();
  }
  // The tick's part: the key is open while a slot is dispatched.
  void Dispatch(int32_t slot) {
    OpenProgramKey(sim.registry);
    sim.dispatcher.DispatchTask(slot);
  }
  bool Paused() { return !sim.Timer1.Enabled() && sim.Timer3.Enabled(); }

  Simulation sim{DateTime(2024, 5, 6, 12, 0, 0)};
};

TEST(TaskTypes, TheTwelveTextsInTheEditorsOrder) {
  const Lines expected = {"提醒",       "打开文件",   "关闭程序",   "断开拨号",   "拨号连接", "注销计算机",
                          "待机计算机", "休眠计算机", "重启计算机", "关闭计算机", "快速重启", "快速关机"};
  ASSERT_EQ(kTaskTypeCount, 12);
  EXPECT_EQ(Lines(std::begin(kTaskTypes), std::end(kTaskTypes)), expected);
  EXPECT_EQ(std::string(kTaskTypes[0]), "\xCC\xE1\xD0\xD1");  // GBK bytes of 提醒
}

TEST_F(DispatchTest, ImmediateTypesActAndPauseTheTickForAMinute) {
  struct Case {
    std::string type, argument;
    Lines effects;
  };
  const std::vector<Case> cases = {
      {"提醒", "喝水", {"12:00:00 prompt 喝水"}},
      {"提醒", "", {"12:00:00 prompt "}},
      {"打开文件", "http://example.com/", {"12:00:00 open http://example.com/"}},
      {"打开文件", "", {"12:00:00 open "}},
      {"关闭程序", "C:\\Tools\\app.exe", {"12:00:00 terminate APP.EXE", "12:00:00 terminate C:\\X\\App.exe"}},
      {"关闭程序", "app.exe", {"12:00:00 terminate APP.EXE", "12:00:00 terminate C:\\X\\App.exe"}},
      {"关闭程序", "D:app.exe", {"12:00:00 terminate APP.EXE", "12:00:00 terminate C:\\X\\App.exe"}},
      {"关闭程序", "", {}},
      {"拨号连接", "whatever it holds", {"12:00:00 autodial"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type + " " + c.argument);
    Simulation s(DateTime(2024, 5, 6, 12, 0, 0));
    s.Tasks({{"每天12时0分", c.type, c.argument}});
    s.Start();
    s.processes = {{10, "APP.EXE"}, {11, "app.exe.bak"}, {12, "C:\\X\\App.exe"}, {13, "other.exe"}};
    s.state.PendingAction = "关机";
    OpenProgramKey(s.registry);
    s.dispatcher.DispatchTask(1);
    EXPECT_EQ(s.log, c.effects);
    EXPECT_EQ(s.state.PendingAction, "");
    EXPECT_FALSE(s.Timer1.Enabled());
    EXPECT_TRUE(s.Timer3.Enabled());
    EXPECT_FALSE(s.window.shown);
    // Timer3Timer ends the pause a minute later; the next tick comes ten seconds after.
    s.RunFor(60 * kSecond);
    EXPECT_TRUE(s.Timer1.Enabled());
    EXPECT_FALSE(s.Timer3.Enabled());
    EXPECT_EQ(s.Timer1.due(), 70 * kSecond);
  }
}

TEST_F(DispatchTest, ADialTaskDoesNotReadItsArgument) {
  Begin({{"每天12时0分", "拨号连接", ""}});
  sim.registry.PutDword(kKey, "C1", 5);  // would fail "Invalid data type" if it were read
  Dispatch(1);
  EXPECT_EQ(sim.log, (Lines{"12:00:00 autodial"}));
}

TEST_F(DispatchTest, CountdownTypesSetTheirWordAndStartTheCountdown) {
  const std::vector<std::pair<std::string, std::string>> table = {
      {"断开拨号", "断开拨号"}, {"注销计算机", "注销"}, {"待机计算机", "待机"}, {"休眠计算机", "休眠"},
      {"重启计算机", "重启"},   {"关闭计算机", "关机"}, {"快速重启", "快速重启"}, {"快速关机", "快速关机"},
  };
  for (const auto& [type, word] : table) {
    SCOPED_TRACE(type);
    Simulation s(DateTime(2024, 5, 6, 12, 0, 0));
    s.Tasks({{"每天12时0分", type, "not used"}});
    s.Start();
    OpenProgramKey(s.registry);
    s.dispatcher.DispatchTask(1);
    EXPECT_EQ(s.state.PendingAction, word);
    EXPECT_EQ(CountdownWordOf(type), word);
    EXPECT_EQ(s.log, (Lines{"12:00:00 show Windows 正在准备" + word + "..."}));
    EXPECT_TRUE(s.Timer2.Enabled());
    EXPECT_FALSE(s.Timer1.Enabled());
    EXPECT_FALSE(s.Timer3.Enabled());  // no pause
  }
}

TEST_F(DispatchTest, TextOfNoTypeDoesNothingAtAll) {
  for (const std::string type : {"", "提醒 ", " 关闭计算机", "关机", "Reminder", "关闭计算机\t"}) {
    SCOPED_TRACE("[" + type + "]");
    Simulation s(DateTime(2024, 5, 6, 12, 0, 0));
    s.Tasks({{"每天12时0分", type, "x"}});
    s.Start();
    s.state.PendingAction = "重启";
    OpenProgramKey(s.registry);
    s.dispatcher.DispatchTask(1);
    EXPECT_TRUE(s.log.empty());
    EXPECT_EQ(s.state.PendingAction, "重启");
    EXPECT_TRUE(s.Timer1.Enabled());
    EXPECT_FALSE(s.Timer3.Enabled());
    EXPECT_FALSE(s.Timer2.Enabled());
    EXPECT_EQ(CountdownWordOf(type), nullptr);
  }
  // A missing type value reads as empty text: nothing either.
  Begin({{"每天12时0分", "提醒", "x"}});
  sim.registry.DeleteValue("B1");
  Dispatch(1);
  EXPECT_TRUE(sim.log.empty());
}

TEST_F(DispatchTest, APauseUnderWayIsNotRestarted) {
  Begin({{"每天12时0分", "提醒", "one"}, {"每天12时0分", "提醒", "two"}});
  Dispatch(1);
  sim.RunFor(30 * kSecond);
  Dispatch(2);
  EXPECT_EQ(sim.Timer3.due(), 60 * kSecond);
  sim.RunFor(30 * kSecond);
  EXPECT_TRUE(sim.Timer1.Enabled());
}

TEST_F(DispatchTest, ValuesThatAreNotTextFailWithTheRegistryMessage) {
  Begin({{"每天12时0分", "提醒", "x"}});
  sim.registry.PutDword(kKey, "B1", 1);
  EXPECT_THROW(
      {
        try {
          Dispatch(1);
        } catch (const RegistryError& e) {
          EXPECT_STREQ(e.what(), "Invalid data type for 'B1'");
          throw;
        }
      },
      RegistryError);
  sim.registry.PutString(kKey, "B1", "提醒");
  sim.registry.PutDword(kKey, "C1", 1);
  EXPECT_THROW(Dispatch(1), RegistryError);
  EXPECT_TRUE(sim.log.empty());
  EXPECT_TRUE(sim.Timer1.Enabled());  // failed before acting: no pause either
}

TEST_F(DispatchTest, AfterAHangUpRunOutTheWordStaysAndATextOfNoTypeStartsNothing) {
  sim.Setting("tishi", 5);
  Begin({{"每天12时0分", "断开拨号", ""}, {"每天12时0分", "断开拨号 ", ""}});
  Dispatch(1);
  sim.RunFor(5 * kSecond);
  EXPECT_EQ(sim.state.PendingAction, "断开拨号");
  const size_t before = sim.log.size();
  Dispatch(2);
  EXPECT_EQ(sim.log.size(), before);
  EXPECT_FALSE(sim.Timer2.Enabled());
}

}  // namespace
}  // namespace morrowick::testing
