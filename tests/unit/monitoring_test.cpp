#include "scheduler/monitoring.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace morrowick {
namespace {

// Everything done to the switch's parts, in order, as one log.
using Log = std::vector<std::string>;

class RecordingCheckMark : public CheckMark {
 public:
  RecordingCheckMark(Log& log, bool checked) : log_(log), checked_(checked) {}
  bool Checked() const override { return checked_; }
  void SetChecked(bool on) override {
    checked_ = on;
    log_.push_back(on ? "n1 checked" : "n1 unchecked");
  }

 private:
  Log& log_;
  bool checked_;
};

// A timer on a virtual clock that keeps the TimerSwitch rules: enabling a disabled
// timer starts a fresh interval, enabling an enabled one changes nothing.
class VirtualTimer : public TimerSwitch {
 public:
  VirtualTimer(Log& log, std::string name, const int64_t& now, int64_t interval, bool enabled)
      : log_(log), name_(std::move(name)), now_(now), interval_(interval), enabled_(enabled) {}
  void SetEnabled(bool on) override {
    log_.push_back(name_ + (on ? " on" : " off"));
    if (on == enabled_) return;
    enabled_ = on;
    if (on) started_ = now_;
  }
  bool Enabled() const override { return enabled_; }
  // When the first event after the last start falls due; only meaningful while enabled.
  int64_t NextEvent() const { return started_ + interval_; }

 private:
  Log& log_;
  std::string name_;
  const int64_t& now_;
  int64_t interval_;
  bool enabled_;
  int64_t started_ = 0;
};

class RecordingTray : public TrayIcon {
 public:
  explicit RecordingTray(Log& log) : log_(log) {}
  void Modify(TrayPicture picture, const std::string& tip) override {
    last_picture = picture;
    last_tip = tip;
    log_.push_back(std::string(picture == TrayPicture::Enabled ? "ENASHUT " : "DISSHUT ") + tip);
  }
  TrayPicture last_picture = TrayPicture::Enabled;  // start-up: the green application icon
  std::string last_tip = kTipEnabled;

 private:
  Log& log_;
};

// The resident shell's parts around the switch: Timer1 and Timer3 on one clock.
struct Shell {
  explicit Shell(bool checked = true, bool timer1_on = true)
      : n1(log, checked),
        Timer1(log, "Timer1", now, 10000, timer1_on),
        Timer3(log, "Timer3", now, 60000, false),
        tray(log),
        monitoring(n1, Timer1, tray) {}
  Log log;
  int64_t now = 0;
  RecordingCheckMark n1;
  VirtualTimer Timer1;
  VirtualTimer Timer3;
  RecordingTray tray;
  MonitoringSwitch monitoring;
};

const std::string kOnTip = "Morrowick-\xC6\xF4\xD3\xC3";   // "Morrowick-启用" in GBK
const std::string kOffTip = "Morrowick-\xBD\xFB\xD3\xC3";  // "Morrowick-禁用" in GBK

TEST(MonitoringSwitchTest, TipsAreTheGbkTexts) {
  EXPECT_EQ(kTipEnabled, kOnTip);
  EXPECT_EQ(kTipDisabled, kOffTip);
}

// The check mark alone decides; Timer1's own state before the click does not matter.
TEST(MonitoringSwitchTest, StateTable) {
  struct Case {
    bool checked, timer1_on;
    Log steps;
  };
  const Case cases[] = {
      {true, true, {"Timer1 off", "n1 unchecked", "DISSHUT " + kOffTip}},
      {true, false, {"Timer1 off", "n1 unchecked", "DISSHUT " + kOffTip}},
      {false, false, {"Timer1 on", "n1 checked", "ENASHUT " + kOnTip}},
      {false, true, {"Timer1 on", "n1 checked", "ENASHUT " + kOnTip}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "checked " << c.checked << ", Timer1 " << c.timer1_on);
    Shell s(c.checked, c.timer1_on);
    s.monitoring.N1Click();
    EXPECT_EQ(s.log, c.steps);
    EXPECT_EQ(s.n1.Checked(), !c.checked);
    EXPECT_EQ(s.monitoring.On(), !c.checked);
    EXPECT_EQ(s.Timer1.Enabled(), !c.checked);
    EXPECT_FALSE(s.Timer3.Enabled());
  }
}

TEST(MonitoringSwitchTest, OffThenOnAgainRestoresPictureTipAndCheckMark) {
  Shell s;
  s.monitoring.N1Click();
  s.monitoring.N1Click();
  EXPECT_EQ(s.log, (Log{"Timer1 off", "n1 unchecked", "DISSHUT " + kOffTip, "Timer1 on", "n1 checked",
                        "ENASHUT " + kOnTip}));
  EXPECT_TRUE(s.n1.Checked());
  EXPECT_TRUE(s.Timer1.Enabled());
}

// Other parts of the program (the pause's re-arm, the countdown, the settings window)
// switch the tick through Timer1's TimerSwitch and nothing else.
TEST(MonitoringSwitchTest, TickStartedElsewhereWhileOffLeavesTheIconRedUntilTheNextClick) {
  Shell s;
  s.monitoring.N1Click();  // off
  s.log.clear();
  TimerSwitch& tick = s.Timer1;
  tick.SetEnabled(true);
  EXPECT_EQ(s.log, (Log{"Timer1 on"}));
  EXPECT_EQ(s.tray.last_picture, TrayPicture::Disabled);
  EXPECT_EQ(s.tray.last_tip, kOffTip);
  EXPECT_FALSE(s.monitoring.On());

  // The next use of the switch turns monitoring on: check mark, tick and picture together.
  s.log.clear();
  s.monitoring.N1Click();
  EXPECT_EQ(s.log, (Log{"Timer1 on", "n1 checked", "ENASHUT " + kOnTip}));
  EXPECT_TRUE(s.monitoring.On());
  EXPECT_TRUE(s.Timer1.Enabled());
}

TEST(MonitoringSwitchTest, SwitchedOnDuringTheOneMinutePauseTheTickStartsAtOnce) {
  Shell s;
  s.monitoring.N1Click();  // off
  // Meanwhile another part started the tick, and at t = 5 s an immediate task paused it
  // for a minute: Timer1 off, Timer3 on until t = 65 s.
  s.Timer1.SetEnabled(true);
  s.now = 5000;
  s.Timer1.SetEnabled(false);
  s.Timer3.SetEnabled(true);
  s.log.clear();

  s.now = 30000;
  s.monitoring.N1Click();
  EXPECT_EQ(s.log, (Log{"Timer1 on", "n1 checked", "ENASHUT " + kOnTip}));  // Timer3 untouched
  ASSERT_TRUE(s.Timer1.Enabled());
  EXPECT_EQ(s.Timer1.NextEvent(), 40000);  // one interval from the click, not after the pause
  ASSERT_TRUE(s.Timer3.Enabled());
  EXPECT_EQ(s.Timer3.NextEvent(), 65000);
}

}  // namespace
}  // namespace morrowick
