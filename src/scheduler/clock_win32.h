// The clock as the system keeps it: local time, tick count, the last input.
#pragma once

#include "scheduler/clock.h"

namespace morrowick {

class ClockWin32 final : public Clock {
 public:
  LocalTime Now() override;
  uint32_t TickCount() override;
  uint32_t LastInputTick() override;
};

}  // namespace morrowick
