// A calendar worked out independently of the code under test, for tests that walk real
// dates. (The standard library's <chrono> cannot be used: one of its literals has no
// GBK form.) Day numbers count from 1 January 1970, a Thursday.
#pragma once

#include <cstdint>

#include "scheduler/clock.h"

namespace morrowick::civil {

struct Date {
  int64_t year;
  unsigned month;
  unsigned day;
};

constexpr int64_t DayNumber(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

constexpr Date FromDayNumber(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

// 0 = Sunday ... 6 = Saturday.
constexpr unsigned Weekday(int64_t z) { return static_cast<unsigned>(((z % 7) + 7 + 4) % 7); }

static_assert(Weekday(DayNumber(2024, 5, 5)) == 0);  // a Sunday
static_assert(Weekday(DayNumber(1970, 1, 1)) == 4);

// The local time at a minute counted from 1 January 1970, 00:00.
inline LocalTime AtMinute(int64_t minute) {
  const int64_t day = (minute >= 0 ? minute : minute - 1439) / 1440;
  const int64_t in_day = minute - day * 1440;
  const Date date = FromDayNumber(day);
  LocalTime t;
  t.wYear = static_cast<uint16_t>(date.year);
  t.wMonth = static_cast<uint16_t>(date.month);
  t.wDay = static_cast<uint16_t>(date.day);
  t.wDayOfWeek = static_cast<uint16_t>(Weekday(day));
  t.wHour = static_cast<uint16_t>(in_day / 60);
  t.wMinute = static_cast<uint16_t>(in_day % 60);
  t.wSecond = 30;  // never compared
  return t;
}

inline int64_t MinuteOf(const LocalTime& t) {
  return DayNumber(t.wYear, t.wMonth, t.wDay) * 1440 + t.wHour * 60 + t.wMinute;
}

}  // namespace morrowick::civil
