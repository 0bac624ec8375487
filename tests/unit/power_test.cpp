#include "system/power.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system_fakes.h"

namespace morrowick {
namespace {

using testing::FakeDialup;
using testing::FakePower;
using testing::FakePrompter;

struct WordCase {
  const char* word;
  const char* call;  // null: no power call
  bool hangsUp;
};

TEST(PerformPendingActionTest, EachWordMakesExactlyItsCall) {
  const WordCase cases[] = {
      {"注销", "ExitWindowsEx(4)", false},
      {"待机", "SetSystemPowerState(1,1)", false},
      {"休眠", "SetSystemPowerState(0,1)", false},
      {"重启", "ExitWindowsEx(6)", false},
      {"关机", "ExitWindowsEx(12)", false},
      {"断开拨号", nullptr, true},
      {"快速重启", "NtShutdownSystem(1)", false},
      {"快速关机", "NtShutdownSystem(2)", false},
  };
  for (const WordCase& c : cases) {
    FakePower power;
    FakeDialup dialup;
    dialup.connections = {0, 1, 0x42};
    FakePrompter prompter;
    PerformPendingAction(c.word, power, dialup, prompter);
    const std::vector<std::string> expected =
        c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{};
    EXPECT_EQ(power.calls, expected) << c.word;
    EXPECT_EQ(dialup.enumerations, c.hangsUp ? 1 : 0) << c.word;
    EXPECT_EQ(dialup.hungUp.size(), c.hangsUp ? 1u : 0u) << c.word;
    EXPECT_EQ(prompter.shown.size(), c.hangsUp ? 1u : 0u) << c.word;
    EXPECT_EQ(dialup.autodials, 0) << c.word;
  }
}

TEST(PerformPendingActionTest, TextsOutsideTheTableDoNothing) {
  const std::string outside[] = {
      "",
      "关闭计算机",                 // a task type, not an action word
      "注销计算机",
      "快速",                       // a prefix of two words
      "关机 ",                      // trailing blank
      " 关机",
      std::string("关机\0", 5),     // trailing zero byte
      "拨号连接",
      "shutdown",
      "\xB9\xD8",                   // first half of "关机"
  };
  for (const std::string& word : outside) {
    FakePower power;
    FakeDialup dialup;
    FakePrompter prompter;
    PerformPendingAction(word, power, dialup, prompter);
    EXPECT_TRUE(power.calls.empty()) << word;
    EXPECT_EQ(dialup.enumerations, 0) << word;
    EXPECT_TRUE(prompter.shown.empty()) << word;
  }
}

TEST(PerformPendingActionTest, TheHangUpWordRunsTheWholeHangUp) {
  FakePower power;
  FakeDialup dialup;
  FakePrompter prompter;
  dialup.connections = {0, 0, 0};
  PerformPendingAction("断开拨号", power, dialup, prompter);
  EXPECT_TRUE(power.calls.empty());
  EXPECT_EQ(prompter.shown, (std::vector<std::string>{"没有可用的拨号连接"}));
}

TEST(TrayPowerItemsTest, EachMakesExactlyItsRowsCall) {
  struct ItemCase {
    const char* item;
    void (*action)(PowerPort&);
    const char* call;
  };
  const ItemCase cases[] = {
      {"n6", PowerLogOff, "ExitWindowsEx(4)"},
      {"n7", PowerStandby, "SetSystemPowerState(1,1)"},
      {"n8", PowerHibernate, "SetSystemPowerState(0,1)"},
      {"n9", PowerRestart, "ExitWindowsEx(6)"},
      {"n10", PowerShutDown, "ExitWindowsEx(12)"},
      {"n18", PowerFastRestart, "NtShutdownSystem(1)"},
      {"n19", PowerFastShutdown, "NtShutdownSystem(2)"},
  };
  for (const ItemCase& c : cases) {
    FakePower power;
    c.action(power);
    EXPECT_EQ(power.calls, (std::vector<std::string>{c.call})) << c.item;
  }
}

}  // namespace
}  // namespace morrowick
