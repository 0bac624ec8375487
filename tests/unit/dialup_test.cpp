#include "system/dialup.h"

#include <gtest/gtest.h>

#include "system_fakes.h"

namespace morrowick {
namespace {

using testing::FakeDialup;
using testing::FakePrompter;

TEST(HangUpDialupTest, HangsUpOnlyTheFirstOfTwoConnectionsAndReportsSuccess) {
  FakeDialup dialup;
  FakePrompter prompter;
  dialup.connections = {0, 2, 0x1234};
  HangUpDialup(dialup, prompter);
  EXPECT_EQ(dialup.hungUp, (std::vector<DialupHandle>{0x1234}));
  EXPECT_EQ(prompter.shown, (std::vector<std::string>{"断开成功"}));
}

TEST(HangUpDialupTest, AFailedHangUpIsReportedAndNotRetried) {
  FakeDialup dialup;
  FakePrompter prompter;
  dialup.connections = {0, 1, 0x88};
  dialup.hangUpResult = 668;
  HangUpDialup(dialup, prompter);
  EXPECT_EQ(dialup.hungUp, (std::vector<DialupHandle>{0x88}));
  EXPECT_EQ(prompter.shown, (std::vector<std::string>{"断开失败"}));
}

TEST(HangUpDialupTest, NoActiveConnectionIsToldAndNothingIsHungUp) {
  FakeDialup dialup;
  FakePrompter prompter;
  dialup.connections = {0, 0, 0x99};  // the handle is never looked at
  HangUpDialup(dialup, prompter);
  EXPECT_TRUE(dialup.hungUp.empty());
  EXPECT_EQ(prompter.shown, (std::vector<std::string>{"没有可用的拨号连接"}));
}

TEST(HangUpDialupTest, AFailedEnumerationIsSilent) {
  // 603: the list is too small (more than ten connections); 127: no dial-up layer.
  for (uint32_t status : {603u, 127u, 1u}) {
    FakeDialup dialup;
    FakePrompter prompter;
    dialup.connections = {status, 3, 0x55};
    HangUpDialup(dialup, prompter);
    EXPECT_EQ(dialup.enumerations, 1);
    EXPECT_TRUE(dialup.hungUp.empty()) << status;
    EXPECT_TRUE(prompter.shown.empty()) << status;
  }
}

TEST(HangUpDialupTest, ShowsTheThreeTextsAsTheirGbkBytes) {
  struct Case {
    DialupConnections connections;
    uint32_t hangUpResult;
    const char* bytes;
  };
  const Case cases[] = {
      {{0, 1, 1}, 0, "\xB6\xCF\xBF\xAA\xB3\xC9\xB9\xA6"},  // 断开成功
      {{0, 1, 1}, 5, "\xB6\xCF\xBF\xAA\xCA\xA7\xB0\xDC"},  // 断开失败
      {{0, 0, 0}, 0,  // 没有可用的拨号连接
       "\xC3\xBB\xD3\xD0\xBF\xC9\xD3\xC3\xB5\xC4\xB2\xA6\xBA\xC5\xC1\xAC\xBD\xD3"},
  };
  for (const Case& c : cases) {
    FakeDialup dialup;
    FakePrompter prompter;
    dialup.connections = c.connections;
    dialup.hangUpResult = c.hangUpResult;
    HangUpDialup(dialup, prompter);
    EXPECT_EQ(prompter.shown, (std::vector<std::string>{c.bytes}));
  }
}

TEST(DialDefaultConnectionTest, DialsOnceAndShowsNothing) {
  FakeDialup dialup;
  DialDefaultConnection(dialup);
  EXPECT_EQ(dialup.autodials, 1);
  EXPECT_EQ(dialup.enumerations, 0);
  EXPECT_TRUE(dialup.hungUp.empty());
}

}  // namespace
}  // namespace morrowick
