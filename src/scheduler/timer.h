// The one timer interface the logic switches Timer1, Timer2 and Timer3 through.
// Switching a timer here never touches the monitoring check mark, tray icon or tip:
// only the monitoring switch does that.
#pragma once

namespace morrowick {

// Rules every implementation keeps: enabling an enabled timer changes nothing;
// enabling a disabled one starts its interval afresh (first event one full interval
// later); disabling discards the interval under way.
class TimerSwitch {
 public:
  virtual ~TimerSwitch() = default;
  virtual void SetEnabled(bool on) = 0;
  virtual bool Enabled() const = 0;
};

}  // namespace morrowick
