// The schedule text of a task slot: a two-character marker naming the kind, then decimal
// fields each closed by a one-character unit word, all in GBK. Composed when a task is
// saved, recognised and taken apart by the scheduler tick and by the task editor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "scheduler/clock.h"
#include "store/date_format.h"

namespace morrowick {

// Listed in the order in which markers are tried.
enum class ScheduleKind { Idle, Once, Daily, Weekly, Monthly, Yearly, Boot };

inline constexpr ScheduleKind kScheduleKinds[] = {
    ScheduleKind::Idle,    ScheduleKind::Once,   ScheduleKind::Daily, ScheduleKind::Weekly,
    ScheduleKind::Monthly, ScheduleKind::Yearly, ScheduleKind::Boot,
};

// "空闲", "一次", "每天", "每周", "每月", "每年", "开机": four GBK bytes each.
const char* ScheduleMarker(ScheduleKind kind);

// The kind whose marker equals the first two characters (four bytes) of the text.
std::optional<ScheduleKind> ScheduleKindOf(const std::string& text);

// The editor's values for a schedule; each kind uses its own.
struct ScheduleValues {
  std::string idle_minutes;  // Idle: the minutes box as typed, possibly empty
  CalendarDate date;         // Once: the chosen date
  int hour = 0;              // Once ... Yearly: the chosen time of day
  int minute = 0;
  std::string weekday;       // Weekly: the weekday box, 1 = Monday ... 7 = Sunday
  std::string day;           // Monthly, Yearly: the day box
  std::string month;         // Yearly: the month box
  std::string boot_hours;    // Boot: the hours and minutes boxes; empty stands for "0"
  std::string boot_minutes;
};

// The text of a kind. Hour and minute are written in plain decimal; the texts of the
// boxes are taken over unchanged, without any check; the date of a once schedule is
// written in the given short date format.
std::string ComposeScheduleText(ScheduleKind kind, const ScheduleValues& values,
                                const ShortDateFormat& date_format);

// Whole minutes since the system started, from the wrapping 32-bit millisecond tick count.
uint32_t UptimeMinutes(uint32_t tick_count);
// Whole minutes since the last keyboard or mouse input, the difference taken modulo 2^32.
uint32_t IdleMinutes(uint32_t tick_count, uint32_t last_input_tick);

// The match operations. Each empties its outputs first, then cuts the text into its
// fields and hands every field back as cut (a text, not a number). The fields are
// converted one at a time, each only while the comparisons before it held, and the
// result says whether the schedule is due at the moment `now`. A field that does not
// convert raises ConvertError; the outputs then hold what was cut.
//
// Idle and Boot take the moment like the others but look at the clock's tick counts,
// read at the time of the test; Once reads its date with the given short date format.
bool MatchIdle(const LocalTime& now, const std::string& text, Clock& clock, std::string& minutes);
bool MatchOnce(const LocalTime& now, const std::string& text, const ShortDateFormat& date_format,
               std::string& date, std::string& hour, std::string& minute);
bool MatchDaily(const LocalTime& now, const std::string& text, std::string& hour,
                std::string& minute);
// A weekday output of exactly "7" becomes "0" before anything is converted, so that 7 and
// 0 both mean Sunday; the caller receives the "0".
bool MatchWeekly(const LocalTime& now, const std::string& text, std::string& weekday,
                 std::string& hour, std::string& minute);
bool MatchMonthly(const LocalTime& now, const std::string& text, std::string& day,
                  std::string& hour, std::string& minute);
bool MatchYearly(const LocalTime& now, const std::string& text, std::string& month,
                 std::string& day, std::string& hour, std::string& minute);
// Both fields are converted at every test; hours × 60 + minutes must equal the uptime
// minutes. A total below 0 or beyond the signed 32-bit range is never due.
bool MatchBoot(const LocalTime& now, const std::string& text, Clock& clock, std::string& hours,
               std::string& minutes);

// Whether a slot's schedule text is due: a text of no kind never is and raises nothing;
// otherwise the kind's match operation decides (and may raise ConvertError).
bool IsScheduleDue(const LocalTime& now, const std::string& text, Clock& clock,
                   const ShortDateFormat& date_format);

}  // namespace morrowick
