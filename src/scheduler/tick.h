// The scheduler tick (Timer1, every ten seconds) and the end of the one-minute pause
// after an immediate task (Timer3).
#pragma once

#include <functional>

#include "scheduler/clock.h"
#include "scheduler/timer.h"
#include "store/date_format.h"
#include "store/state.h"

namespace morrowick {

class TaskDispatcher;

struct TickPorts {
  Clock& clock;
  TaskDispatcher& dispatcher;
  TimerSwitch& timer1;
  TimerSwitch& timer3;
  // The short date format in force at the moment of the tick (for once schedules).
  std::function<ShortDateFormat()> date_format = UserShortDateFormat;
};

class SchedulerTick {
 public:
  SchedulerTick(AppState& state, TickPorts ports) : state_(state), p_(std::move(ports)) {}

  // Walks slots 1 .. TaskNum (the count held in memory when the walk begins) against
  // one reading of the local time and dispatches every due slot, lower slots first.
  // The walk runs to the last slot whatever a dispatch switched. A read or conversion
  // failure ends the tick at that slot and propagates to the error report.
  void Timer1Timer();
  // Ends the pause: the tick on again, its first event ten seconds later.
  void Timer3Timer();

 private:
  AppState& state_;
  TickPorts p_;
};

}  // namespace morrowick
