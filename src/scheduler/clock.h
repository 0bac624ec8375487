// The clock port: local time, the system tick count and the tick of the last input.
// Abstract so that simulation tests can run days of ticks on a virtual clock.
#pragma once

#include <cstdint>

namespace morrowick {

// The fields of the system's local time that schedules look at (SYSTEMTIME layout
// of meaning: wDayOfWeek 0 = Sunday ... 6 = Saturday).
struct LocalTime {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;
  uint16_t wDayOfWeek = 0;
  uint16_t wDay = 0;
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  // Milliseconds since the system started, unsigned 32-bit, wrapping after ~49.7 days.
  virtual uint32_t TickCount() = 0;
  // The tick count at the last keyboard or mouse input.
  virtual uint32_t LastInputTick() = 0;
};

}  // namespace morrowick
