// The monitoring switch: the user's on/off for the scheduler. Its state is the check
// mark of the menu item n1 and nothing else; it is not stored, and every start is on.
#pragma once

#include "scheduler/ports.h"
#include "scheduler/timer.h"

namespace morrowick {

inline constexpr char kTipEnabled[] = "Morrowick-启用";
inline constexpr char kTipDisabled[] = "Morrowick-禁用";

// The check mark of the menu item n1.
class CheckMark {
 public:
  virtual ~CheckMark() = default;
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool on) = 0;
};

class MonitoringSwitch {
 public:
  MonitoringSwitch(CheckMark& n1, TimerSwitch& timer1, TrayIcon& tray)
      : n1_(n1), timer1_(timer1), tray_(tray) {}

  bool On() const { return n1_.Checked(); }

  // Toggles by the check mark alone, touching only Timer1, the check mark and the icon.
  // Other code switches Timer1 directly through its TimerSwitch and leaves all three be.
  void N1Click();

 private:
  CheckMark& n1_;
  TimerSwitch& timer1_;
  TrayIcon& tray_;
};

}  // namespace morrowick
