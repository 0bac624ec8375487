#include "store/schedule_text.h"

#include <algorithm>
#include <initializer_list>

#include "store/convert.h"

namespace morrowick {

namespace {

constexpr size_t kMarkerBytes = 4;  // two GBK characters
constexpr size_t kUnitBytes = 2;    // one GBK character

constexpr char kIdleUnit[] = "分钟";
constexpr char kMonthUnit[] = "月";
constexpr char kDayUnit[] = "日";
constexpr char kHourUnit[] = "时";
constexpr char kMinuteUnit[] = "分";

struct Field {
  const char* unit;
  std::string* text;
};

// Takes the fields apart on the stored GBK bytes, right behind the marker, before
// anything is converted; every output is overwritten. A field runs up to the first byte
// equal to the first byte of its unit character (or to the end of the text, after which
// the remaining fields are empty); the next field begins two bytes behind that byte.
void CutFields(const std::string& text, std::initializer_list<Field> fields) {
  size_t pos = std::min(kMarkerBytes, text.size());
  for (const Field& f : fields) {
    const size_t end = std::min(text.find(f.unit[0], pos), text.size());
    f.text->assign(text, pos, end - pos);
    pos = std::min(end + kUnitBytes, text.size());
  }
}

struct Comparison {
  const std::string& field;
  int32_t clock_value;
};

// Converts and compares the fields in order and stops at the first difference, so a
// field is converted only while every comparison before it held.
bool FieldsMatch(std::initializer_list<Comparison> comparisons) {
  for (const Comparison& c : comparisons) {
    if (ToInteger(c.field) != c.clock_value) return false;
  }
  return true;
}

}  // namespace

const char* ScheduleMarker(ScheduleKind kind) {
  switch (kind) {
    case ScheduleKind::Idle:
      return "空闲";
    case ScheduleKind::Once:
      return "一次";
    case ScheduleKind::Daily:
      return "每天";
    case ScheduleKind::Weekly:
      return "每周";
    case ScheduleKind::Monthly:
      return "每月";
    case ScheduleKind::Yearly:
      return "每年";
    case ScheduleKind::Boot:
      return "开机";
  }
  return "";
}

std::optional<ScheduleKind> ScheduleKindOf(const std::string& text) {
  for (ScheduleKind kind : kScheduleKinds) {
    if (text.compare(0, kMarkerBytes, ScheduleMarker(kind)) == 0) return kind;
  }
  return std::nullopt;
}

std::string ComposeScheduleText(ScheduleKind kind, const ScheduleValues& v,
                                const ShortDateFormat& date_format) {
  const std::string marker = ScheduleMarker(kind);
  const std::string time_of_day =
      std::to_string(v.hour) + kHourUnit + std::to_string(v.minute) + kMinuteUnit;
  switch (kind) {
    case ScheduleKind::Idle:
      return marker + v.idle_minutes + kIdleUnit;
    case ScheduleKind::Once:
      return marker + date_format.Format(v.date) + kDayUnit + time_of_day;
    case ScheduleKind::Daily:
      return marker + time_of_day;
    case ScheduleKind::Weekly:
      return marker + v.weekday + kDayUnit + time_of_day;
    case ScheduleKind::Monthly:
      return marker + v.day + kDayUnit + time_of_day;
    case ScheduleKind::Yearly:
      return marker + v.month + kMonthUnit + v.day + kDayUnit + time_of_day;
    case ScheduleKind::Boot: {
      const std::string hours = v.boot_hours.empty() ? "0" : v.boot_hours;
      const std::string minutes = v.boot_minutes.empty() ? "0" : v.boot_minutes;
      return marker + hours + kHourUnit + minutes + kMinuteUnit;
    }
  }
  return marker;
}

uint32_t UptimeMinutes(uint32_t tick_count) { return tick_count / 1000u / 60u; }

uint32_t IdleMinutes(uint32_t tick_count, uint32_t last_input_tick) {
  return static_cast<uint32_t>(tick_count - last_input_tick) / 1000u / 60u;
}

bool MatchIdle(const LocalTime&, const std::string& text, Clock& clock, std::string& minutes) {
  CutFields(text, {{kIdleUnit, &minutes}});
  const int32_t wanted = ToInteger(minutes);
  // The last input first: read the other way round, an input between the two readings
  // would lie after the tick count and the difference would wrap.
  const uint32_t last_input = clock.LastInputTick();
  const uint32_t idle = IdleMinutes(clock.TickCount(), last_input);
  return wanted >= 0 && static_cast<uint32_t>(wanted) == idle;
}

bool MatchOnce(const LocalTime& now, const std::string& text, const ShortDateFormat& date_format,
               std::string& date, std::string& hour, std::string& minute) {
  CutFields(text, {{kDayUnit, &date}, {kHourUnit, &hour}, {kMinuteUnit, &minute}});
  const CalendarDate d = ToDate(date, date_format, now.wYear);
  if (d.year != now.wYear || d.month != now.wMonth || d.day != now.wDay) return false;
  return FieldsMatch({{hour, now.wHour}, {minute, now.wMinute}});
}

bool MatchDaily(const LocalTime& now, const std::string& text, std::string& hour,
                std::string& minute) {
  CutFields(text, {{kHourUnit, &hour}, {kMinuteUnit, &minute}});
  return FieldsMatch({{hour, now.wHour}, {minute, now.wMinute}});
}

bool MatchWeekly(const LocalTime& now, const std::string& text, std::string& weekday,
                 std::string& hour, std::string& minute) {
  CutFields(text, {{kDayUnit, &weekday}, {kHourUnit, &hour}, {kMinuteUnit, &minute}});
  if (weekday == "7") weekday = "0";
  return FieldsMatch({{weekday, now.wDayOfWeek}, {hour, now.wHour}, {minute, now.wMinute}});
}

bool MatchMonthly(const LocalTime& now, const std::string& text, std::string& day,
                  std::string& hour, std::string& minute) {
  CutFields(text, {{kDayUnit, &day}, {kHourUnit, &hour}, {kMinuteUnit, &minute}});
  return FieldsMatch({{day, now.wDay}, {hour, now.wHour}, {minute, now.wMinute}});
}

bool MatchYearly(const LocalTime& now, const std::string& text, std::string& month,
                 std::string& day, std::string& hour, std::string& minute) {
  CutFields(text, {{kMonthUnit, &month}, {kDayUnit, &day}, {kHourUnit, &hour},
                   {kMinuteUnit, &minute}});
  return FieldsMatch(
      {{month, now.wMonth}, {day, now.wDay}, {hour, now.wHour}, {minute, now.wMinute}});
}

bool MatchBoot(const LocalTime&, const std::string& text, Clock& clock, std::string& hours,
               std::string& minutes) {
  CutFields(text, {{kHourUnit, &hours}, {kMinuteUnit, &minutes}});
  const int64_t whole_hours = ToInteger(hours);
  const int64_t more_minutes = ToInteger(minutes);
  // Worked out in 64 bits: a total that leaves the signed 32-bit range must not wrap
  // round into a small uptime.
  const int64_t total = whole_hours * 60 + more_minutes;
  return total == int64_t{UptimeMinutes(clock.TickCount())};
}

bool IsScheduleDue(const LocalTime& now, const std::string& text, Clock& clock,
                   const ShortDateFormat& date_format) {
  const std::optional<ScheduleKind> kind = ScheduleKindOf(text);
  if (!kind) return false;
  std::string a, b, c, d;
  switch (*kind) {
    case ScheduleKind::Idle:
      return MatchIdle(now, text, clock, a);
    case ScheduleKind::Once:
      return MatchOnce(now, text, date_format, a, b, c);
    case ScheduleKind::Daily:
      return MatchDaily(now, text, a, b);
    case ScheduleKind::Weekly:
      return MatchWeekly(now, text, a, b, c);
    case ScheduleKind::Monthly:
      return MatchMonthly(now, text, a, b, c);
    case ScheduleKind::Yearly:
      return MatchYearly(now, text, a, b, c, d);
    case ScheduleKind::Boot:
      return MatchBoot(now, text, clock, a, b);
  }
  return false;
}

}  // namespace morrowick
