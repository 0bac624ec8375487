#include "scheduler/tick.h"

#include "scheduler/dispatch.h"
#include "store/registry.h"
#include "store/schedule_text.h"
#include "store/store.h"

namespace morrowick {

void SchedulerTick::Timer1Timer() {
  const LocalTime now = p_.clock.Now();
  RegistryAccessor& reg = *state_.registry;
  OpenProgramKey(reg);
  const int32_t count = state_.settings.TaskNum;  // fixed for this walk
  const ShortDateFormat date_format = p_.date_format();  // one reading per tick, like the time
  for (int32_t n = 1; n <= count; ++n) {
    const std::string text = reg.ReadString(SlotValueName('A', n));
    if (text.empty()) continue;
    // A text of no kind is never due; a field that does not convert throws from here.
    if (IsScheduleDue(now, text, p_.clock, date_format)) p_.dispatcher.DispatchTask(n);
  }
  reg.CloseKey();
}

void SchedulerTick::Timer3Timer() {
  p_.timer1.SetEnabled(true);
  p_.timer3.SetEnabled(false);
}

}  // namespace morrowick
