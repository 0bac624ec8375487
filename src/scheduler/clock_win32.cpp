#include "scheduler/clock_win32.h"

#include <windows.h>

namespace morrowick {

LocalTime ClockWin32::Now() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  LocalTime t;
  t.wYear = st.wYear;
  t.wMonth = st.wMonth;
  t.wDayOfWeek = st.wDayOfWeek;
  t.wDay = st.wDay;
  t.wHour = st.wHour;
  t.wMinute = st.wMinute;
  t.wSecond = st.wSecond;
  t.wMilliseconds = st.wMilliseconds;
  return t;
}

uint32_t ClockWin32::TickCount() { return GetTickCount(); }

uint32_t ClockWin32::LastInputTick() {
  LASTINPUTINFO info{};
  static_assert(sizeof(LASTINPUTINFO) == 8, "the last-input record is 8 bytes");
  info.cbSize = sizeof(info);
  GetLastInputInfo(&info);
  return info.dwTime;
}

}  // namespace morrowick
