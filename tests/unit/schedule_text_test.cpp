#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "civil_calendar.h"
#include "store/convert.h"
#include "store/schedule_text.h"

namespace morrowick {
namespace {

// Readings of the clock port held at fixed values.
class FixedClock : public Clock {
 public:
  uint32_t tick = 0;
  uint32_t last_input = 0;
  LocalTime Now() override { return {}; }
  uint32_t TickCount() override { return tick; }
  uint32_t LastInputTick() override { return last_input; }
};

constexpr uint32_t kMinute = 60000;

// A moment of the real calendar, its weekday worked out independently.
LocalTime At(int year, unsigned month, unsigned day, unsigned hour, unsigned minute) {
  return civil::AtMinute(civil::DayNumber(year, month, day) * 1440 + hour * 60 + minute);
}

LocalTime Shifted(const LocalTime& t, int minutes) { return civil::AtMinute(civil::MinuteOf(t) + minutes); }

// Every minute of the given days.
std::vector<LocalTime> EveryMinuteOf(const std::vector<LocalTime>& days) {
  std::vector<LocalTime> out;
  for (const LocalTime& d : days) {
    for (unsigned m = 0; m < 24 * 60; ++m) out.push_back(At(d.wYear, d.wMonth, d.wDay, m / 60, m % 60));
  }
  return out;
}

const ShortDateFormat kDashes("yyyy-M-d");

std::string ConvertMessage(const std::function<void()>& f) {
  try {
    f();
  } catch (const ConvertError& e) {
    return e.what();
  }
  return "(no failure)";
}

// --- Worked examples -------------------------------------------------------------

struct CalendarExample {
  std::string text;
  LocalTime due_at;
};

TEST(ScheduleText, WorkedCalendarExamplesAreDueAtTheirMinuteOnly) {
  const std::vector<CalendarExample> examples = {
      {"一次2024-5-1日8时5分", At(2024, 5, 1, 8, 5)},
      {"每天22时30分", At(2024, 3, 14, 22, 30)},
      {"每周7日9时0分", At(2024, 5, 5, 9, 0)},  // a Sunday
      {"每月15日12时0分", At(2024, 7, 15, 12, 0)},
      {"每年12月31日23时59分", At(2023, 12, 31, 23, 59)},
  };
  FixedClock clock;
  for (const CalendarExample& e : examples) {
    SCOPED_TRACE(e.text);
    ASSERT_TRUE(ScheduleKindOf(e.text).has_value());
    EXPECT_TRUE(IsScheduleDue(e.due_at, e.text, clock, kDashes));
    EXPECT_FALSE(IsScheduleDue(Shifted(e.due_at, -1), e.text, clock, kDashes));
    EXPECT_FALSE(IsScheduleDue(Shifted(e.due_at, +1), e.text, clock, kDashes));
  }
}

TEST(ScheduleText, WorkedIdleAndBootExamplesAreDueForOneMinuteOfTheirReading) {
  FixedClock clock;
  const LocalTime any = At(2024, 1, 1, 0, 0);
  clock.tick = 500 * kMinute;
  struct Reading {
    uint32_t ms;
    bool due;
  };
  // 空闲30分钟: the last input lies between 30 and 31 minutes back.
  for (const Reading& r : std::vector<Reading>{{29 * kMinute, false},
                                               {30 * kMinute - 1, false},
                                               {30 * kMinute, true},
                                               {31 * kMinute - 1, true},
                                               {31 * kMinute, false}}) {
    clock.last_input = clock.tick - r.ms;
    EXPECT_EQ(IsScheduleDue(any, "空闲30分钟", clock, kDashes), r.due) << r.ms;
  }
  // 开机1时30分: the system has been up between 90 and 91 minutes.
  for (const Reading& r : std::vector<Reading>{{89 * kMinute, false},
                                               {90 * kMinute - 1, false},
                                               {90 * kMinute, true},
                                               {91 * kMinute - 1, true},
                                               {91 * kMinute, false}}) {
    clock.tick = r.ms;
    EXPECT_EQ(IsScheduleDue(any, "开机1时30分", clock, kDashes), r.due) << r.ms;
  }
}

TEST(ScheduleText, FieldsAreHandedBackAsCut) {
  const LocalTime now = At(2024, 5, 1, 8, 5);
  FixedClock clock;
  std::string a = "junk", b = "junk", c = "junk", d = "junk";
  EXPECT_TRUE(MatchOnce(now, "一次2024-5-1日8时5分", kDashes, a, b, c));
  EXPECT_EQ((std::vector<std::string>{a, b, c}), (std::vector<std::string>{"2024-5-1", "8", "5"}));
  EXPECT_FALSE(MatchYearly(now, "每年12月31日23时59分", a, b, c, d));
  EXPECT_EQ((std::vector<std::string>{a, b, c, d}),
            (std::vector<std::string>{"12", "31", "23", "59"}));
  EXPECT_FALSE(MatchMonthly(now, "每月15日12时0分", a, b, c));
  EXPECT_EQ((std::vector<std::string>{a, b, c}), (std::vector<std::string>{"15", "12", "0"}));
  EXPECT_FALSE(MatchIdle(now, "空闲30分钟", clock, a));
  EXPECT_EQ(a, "30");
  EXPECT_FALSE(MatchBoot(now, "开机1时30分", clock, a, b));
  EXPECT_EQ((std::vector<std::string>{a, b}), (std::vector<std::string>{"1", "30"}));
}

// --- Kinds and composing ---------------------------------------------------------

TEST(ScheduleText, KindIsTheMarkerOfTheFirstFourBytes) {
  const std::vector<std::pair<std::string, std::optional<ScheduleKind>>> cases = {
      {"空闲30分钟", ScheduleKind::Idle},
      {"一次2024-5-1日8时5分", ScheduleKind::Once},
      {"每天22时30分", ScheduleKind::Daily},
      {"每周7日9时0分", ScheduleKind::Weekly},
      {"每月15日12时0分", ScheduleKind::Monthly},
      {"每年12月31日23时59分", ScheduleKind::Yearly},
      {"开机1时30分", ScheduleKind::Boot},
      {"每天", ScheduleKind::Daily},  // the marker alone still has a kind
      {" 每天22时30分", std::nullopt},
      {"每", std::nullopt},
      {"", std::nullopt},
      {"\xE6\xAF\x8F\xE5\xA4\xA9" "22时30分", std::nullopt},  // 每天 in UTF-8
      {"每日22时30分", std::nullopt},
  };
  for (const auto& [text, kind] : cases) EXPECT_EQ(ScheduleKindOf(text), kind) << text;
}

TEST(ScheduleText, TextOfNoKindIsNeverDueAndRaisesNothing) {
  FixedClock clock;
  for (const char* text : {" 每天22时30分", " 空闲分钟", "x", "每"}) {
    EXPECT_FALSE(IsScheduleDue(At(2024, 1, 1, 22, 30), text, clock, kDashes)) << text;
  }
}

TEST(ScheduleText, ComposeBuildsEachKindsText) {
  ScheduleValues v;
  v.idle_minutes = "30";
  v.date = {2024, 5, 1};
  v.hour = 9;
  v.minute = 5;
  v.weekday = "7";
  v.day = "031";
  v.month = "x";
  v.boot_hours = "1";
  v.boot_minutes = "90";
  const std::vector<std::pair<ScheduleKind, std::string>> cases = {
      {ScheduleKind::Idle, "空闲30分钟"},
      {ScheduleKind::Once, "一次2024-5-1日9时5分"},
      {ScheduleKind::Daily, "每天9时5分"},
      {ScheduleKind::Weekly, "每周7日9时5分"},
      {ScheduleKind::Monthly, "每月031日9时5分"},
      {ScheduleKind::Yearly, "每年x月031日9时5分"},
      {ScheduleKind::Boot, "开机1时90分"},
  };
  for (const auto& [kind, text] : cases) EXPECT_EQ(ComposeScheduleText(kind, v, kDashes), text);

  ScheduleValues empty;
  EXPECT_EQ(ComposeScheduleText(ScheduleKind::Idle, empty, kDashes), "空闲分钟");
  EXPECT_EQ(ComposeScheduleText(ScheduleKind::Boot, empty, kDashes), "开机0时0分");
  empty.boot_minutes = "7";
  EXPECT_EQ(ComposeScheduleText(ScheduleKind::Boot, empty, kDashes), "开机0时7分");
  EXPECT_EQ(ComposeScheduleText(ScheduleKind::Once, v, ShortDateFormat("yyyy/MM/dd")),
            "一次2024/05/01日9时5分");
}

TEST(ScheduleText, ComposedTextsMatchAtTheirMoment) {
  FixedClock clock;
  const ShortDateFormat slashes("yyyy/M/d");
  for (const LocalTime& now : {At(2024, 2, 29, 0, 0), At(2031, 12, 31, 23, 59), At(2025, 6, 8, 9, 5)}) {
    ScheduleValues v;
    v.date = {now.wYear, now.wMonth, now.wDay};
    v.hour = now.wHour;
    v.minute = now.wMinute;
    v.weekday = std::to_string(now.wDayOfWeek == 0 ? 7 : now.wDayOfWeek);
    v.day = std::to_string(now.wDay);
    v.month = std::to_string(now.wMonth);
    for (ScheduleKind kind : {ScheduleKind::Once, ScheduleKind::Daily, ScheduleKind::Weekly,
                              ScheduleKind::Monthly, ScheduleKind::Yearly}) {
      const std::string text = ComposeScheduleText(kind, v, slashes);
      EXPECT_TRUE(IsScheduleDue(now, text, clock, slashes)) << text;
      EXPECT_FALSE(IsScheduleDue(Shifted(now, 1), text, clock, slashes)) << text;
    }
  }
}

// --- Calendar edges --------------------------------------------------------------

TEST(ScheduleText, DaysThatSomeMonthsOrYearsLackAgainstTheRealCalendar) {
  FixedClock clock;
  std::set<std::string> due_31st, due_29_feb, due_30_feb;
  int sundays = 0, due_weekday_7 = 0, due_weekday_0 = 0, due_weekday_8 = 0;
  for (int64_t day = civil::DayNumber(2023, 1, 1); day < civil::DayNumber(2029, 1, 1); ++day) {
    const LocalTime noon = civil::AtMinute(day * 1440 + 12 * 60);
    const std::string name = std::to_string(noon.wYear) + "-" + std::to_string(noon.wMonth) + "-" +
                             std::to_string(noon.wDay);
    if (IsScheduleDue(noon, "每月31日12时0分", clock, kDashes)) due_31st.insert(name);
    if (IsScheduleDue(noon, "每年2月29日12时0分", clock, kDashes)) due_29_feb.insert(name);
    if (IsScheduleDue(noon, "每年2月30日12时0分", clock, kDashes)) due_30_feb.insert(name);
    const bool sunday = civil::Weekday(day) == 0;
    sundays += sunday;
    const bool due7 = IsScheduleDue(noon, "每周7日12时0分", clock, kDashes);
    const bool due0 = IsScheduleDue(noon, "每周0日12时0分", clock, kDashes);
    EXPECT_EQ(due7, sunday) << name;
    EXPECT_EQ(due0, sunday) << name;
    due_weekday_7 += due7;
    due_weekday_0 += due0;
    due_weekday_8 += IsScheduleDue(noon, "每周8日12时0分", clock, kDashes);
  }
  // Seven months of every year have a 31st.
  EXPECT_EQ(due_31st.size(), 6u * 7u);
  for (int y = 2023; y <= 2028; ++y) {
    for (int m : {1, 3, 5, 7, 8, 10, 12}) {
      EXPECT_TRUE(due_31st.count(std::to_string(y) + "-" + std::to_string(m) + "-31")) << y << "-" << m;
    }
  }
  EXPECT_EQ(due_29_feb, (std::set<std::string>{"2024-2-29", "2028-2-29"}));
  EXPECT_TRUE(due_30_feb.empty());
  EXPECT_GT(sundays, 300);
  EXPECT_EQ(due_weekday_7, sundays);
  EXPECT_EQ(due_weekday_0, sundays);
  EXPECT_EQ(due_weekday_8, 0);
}

TEST(ScheduleText, WeeklyHandsBackSevenAsZero) {
  const LocalTime sunday = At(2024, 5, 5, 9, 0);
  struct Case {
    std::string text;
    std::string weekday_out;
    bool due;
  };
  const std::vector<Case> cases = {
      {"每周7日9时0分", "0", true},
      {"每周0日9时0分", "0", true},
      {"每周07日9时0分", "07", false},  // only exactly "7" stands for Sunday
      {"每周7日10时0分", "0", false},
      {"每周1日9时0分", "1", false},
  };
  for (const Case& c : cases) {
    std::string weekday, hour, minute;
    EXPECT_EQ(MatchWeekly(sunday, c.text, weekday, hour, minute), c.due) << c.text;
    EXPECT_EQ(weekday, c.weekday_out) << c.text;
  }
  std::string weekday, hour, minute;
  EXPECT_TRUE(MatchWeekly(At(2024, 5, 6, 9, 0), "每周1日9时0分", weekday, hour, minute));  // Monday
}

TEST(ScheduleText, LeadingZerosAndMissingClosingUnit) {
  FixedClock clock;
  const LocalTime friday = At(2024, 3, 1, 8, 5);
  for (const char* text : {"每天08时05分", "每周5日08时05分", "每周05日8时5分", "每月01日08时05分",
                           "每年03月01日08时05分", "一次2024-03-01日08时05分", "一次2024-3-1日08时05"}) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(IsScheduleDue(friday, text, clock, kDashes));
    EXPECT_FALSE(IsScheduleDue(Shifted(friday, 1), text, clock, kDashes));
    EXPECT_FALSE(IsScheduleDue(Shifted(friday, -1), text, clock, kDashes));
  }
  clock.tick = 65 * kMinute;
  EXPECT_TRUE(IsScheduleDue(friday, "开机01时005分", clock, kDashes));

  std::string hour, minute;
  EXPECT_TRUE(MatchDaily(At(2024, 3, 1, 22, 30), "每天22时30", hour, minute));
  EXPECT_EQ(minute, "30");
  EXPECT_FALSE(MatchDaily(At(2024, 3, 1, 22, 31), "每天22时30", hour, minute));
}

// --- Idle and boot readings ------------------------------------------------------

TEST(ScheduleText, MinuteReadingsFromTheWrappingTickCount) {
  EXPECT_EQ(UptimeMinutes(0), 0u);
  EXPECT_EQ(UptimeMinutes(kMinute - 1), 0u);
  EXPECT_EQ(UptimeMinutes(kMinute), 1u);
  EXPECT_EQ(UptimeMinutes(0xFFFFFFFFu), 71582u);
  EXPECT_EQ(IdleMinutes(10 * kMinute, 10 * kMinute), 0u);
  EXPECT_EQ(IdleMinutes(10 * kMinute, 5 * kMinute - 1), 5u);
  // The input came before the count wrapped: 0x1000 + 0x1000 ms, not minus.
  EXPECT_EQ(IdleMinutes(0x1000u, 0xFFFFF000u), 0u);
  EXPECT_EQ(IdleMinutes(3 * kMinute, 0xFFFFFFFFu - 2 * kMinute + 1), 5u);
}

TEST(ScheduleText, IdleOfZeroIsDueDuringTheFirstMinuteAfterAnInput) {
  FixedClock clock;
  const LocalTime any = At(2024, 1, 1, 0, 0);
  struct Case {
    uint32_t last_input, tick;
    bool due;
  };
  const std::vector<Case> cases = {
      {1000, 1000, true},
      {1000, 1000 + kMinute - 1, true},
      {1000, 1000 + kMinute, false},
      {0xFFFFF000u, 0x1000u, true},  // across the wrap of the count
      {0xFFFFF000u, 0xFFFFF000u + kMinute, false},
  };
  for (const Case& c : cases) {
    clock.last_input = c.last_input;
    clock.tick = c.tick;
    EXPECT_EQ(IsScheduleDue(any, "空闲0分钟", clock, kDashes), c.due) << c.last_input << " " << c.tick;
  }
  clock.last_input = 0;
  clock.tick = 0;
  EXPECT_FALSE(IsScheduleDue(any, "空闲-1分钟", clock, kDashes));
}

TEST(ScheduleText, IdleReadsTheLastInputBeforeTheTickCount) {
  // Time moves on between the two readings and an input comes in meanwhile: read the
  // other way round, the input would lie after the tick count and look like 71582 idle
  // minutes.
  class MovingClock : public Clock {
   public:
    uint32_t ms = 5 * kMinute;
    LocalTime Now() override { return {}; }
    uint32_t TickCount() override { return ms += 10; }
    uint32_t LastInputTick() override { return ms += 10; }  // an input just now
  } clock;
  std::string minutes;
  EXPECT_TRUE(MatchIdle({}, "空闲0分钟", clock, minutes));
}

TEST(ScheduleText, BootTotalsBeyondTheUptimeRangeAndAfterTheWrap) {
  FixedClock clock;
  const LocalTime any = At(2024, 1, 1, 0, 0);
  struct Case {
    std::string text;
    uint32_t tick;
    bool due;
  };
  const std::vector<Case> cases = {
      {"开机1193时2分", 0xFFFFFFFFu, true},    // 71582: the last uptime minute before the wrap
      {"开机0时71582分", 0xFFFFFFFFu, true},
      {"开机1193时3分", 0xFFFFFFFFu, false},   // 71583 is beyond any uptime reading
      {"开机0时0分", 0u, true},                // after the wrap the minutes begin again
      {"开机0时90分", 90 * kMinute, true},
      {"开机-1时60分", 0u, true},              // the total counts, not the fields
      {"开机0时-5分", 0u, false},
      {"开机-1时0分", 0u, false},
      // hours × 60 taken modulo 2^32 would give 44 and -2147483596: never due here.
      {"开机71582789时0分", 44 * kMinute, false},
      {"开机35791395时0分", 0u, false},
      {"开机2147483647时2147483647分", 0xFFFFFFFFu, false},
  };
  for (const Case& c : cases) {
    clock.tick = c.tick;
    EXPECT_EQ(IsScheduleDue(any, c.text, clock, kDashes), c.due) << c.text;
  }

  // Ninety days of uptime, read every ten seconds: due once before and once after the wrap.
  int runs = 0;
  bool was_due = false;
  for (uint64_t ms = 0; ms < uint64_t{90} * 24 * 60 * kMinute; ms += 10000) {
    clock.tick = static_cast<uint32_t>(ms);
    const bool due = IsScheduleDue(any, "开机1时30分", clock, kDashes);
    runs += due && !was_due;
    was_due = due;
  }
  EXPECT_EQ(runs, 2);
}

// --- Failures and the order of conversion ----------------------------------------

TEST(ScheduleText, ABadFieldFailsOnlyWhenTheFieldsBeforeItMatch) {
  const std::vector<LocalTime> days = EveryMinuteOf({At(2024, 5, 1, 0, 0), At(2024, 5, 15, 0, 0),
                                                     At(2024, 12, 31, 0, 0), At(2023, 6, 15, 0, 0)});
  FixedClock clock;
  clock.tick = 90 * kMinute;
  clock.last_input = 0;
  struct Case {
    std::string text;
    std::string message;
    std::function<bool(const LocalTime&)> fails_at;
  };
  const auto always = [](const LocalTime&) { return true; };
  const std::vector<Case> cases = {
      {"每周x日9时0分", "'x' is not a valid integer value", always},
      {"每月x日12时0分", "'x' is not a valid integer value", always},
      {"每年x月31日23时59分", "'x' is not a valid integer value", always},
      {"每天x时30分", "'x' is not a valid integer value", always},
      {"一次bad日8时5分", "'bad' is not a valid date", always},
      {"一次2024/5/1日8时5分", "'2024/5/1' is not a valid date", always},
      {"每天", "'' is not a valid integer value", always},
      {"空闲分钟", "'' is not a valid integer value", always},
      {"空闲", "'' is not a valid integer value", always},
      {"开机1时x分", "'x' is not a valid integer value", always},  // both fields at every test
      {"开机100时x分", "'x' is not a valid integer value", always},  // hours alone beyond the uptime
      {"开机 1时30分", "' 1' is not a valid integer value", always},
      {"每年12月x日23时59分", "'x' is not a valid integer value",
       [](const LocalTime& t) { return t.wMonth == 12; }},
      {"每天22时x分", "'x' is not a valid integer value",
       [](const LocalTime& t) { return t.wHour == 22; }},
      {"每天22时", "'' is not a valid integer value",
       [](const LocalTime& t) { return t.wHour == 22; }},
      {"每月15日12时0x1E分", "'0x1E' is not a valid integer value",
       [](const LocalTime& t) { return t.wDay == 15 && t.wHour == 12; }},
      {"一次2024-5-1日x时5分", "'x' is not a valid integer value",
       [](const LocalTime& t) { return t.wYear == 2024 && t.wMonth == 5 && t.wDay == 1; }},
      {"每周3日8时 5分", "' 5' is not a valid integer value",  // 1 May 2024 is a Wednesday
       [](const LocalTime& t) { return t.wDayOfWeek == 3 && t.wHour == 8; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int failures = 0;
    for (const LocalTime& now : days) {
      const std::string outcome = ConvertMessage([&] { IsScheduleDue(now, c.text, clock, kDashes); });
      const bool failed = outcome != "(no failure)";
      failures += failed;
      ASSERT_EQ(failed, c.fails_at(now)) << now.wYear << "-" << now.wMonth << "-" << now.wDay << " "
                                         << now.wHour << ":" << now.wMinute << " " << outcome;
      if (failed) {
        ASSERT_EQ(outcome, c.message);
      }
    }
    EXPECT_GT(failures, 0);
  }
}

TEST(ScheduleText, OutputsAreEmptiedBeforeAnythingElse) {
  const LocalTime december = At(2024, 12, 31, 23, 59);
  std::string month = "junk", day = "junk", hour = "junk", minute = "junk";
  EXPECT_EQ(ConvertMessage([&] { MatchYearly(december, "每年12月", month, day, hour, minute); }),
            "'' is not a valid integer value");
  EXPECT_EQ((std::vector<std::string>{month, day, hour, minute}),
            (std::vector<std::string>{"12", "", "", ""}));
  // A unit character as the text's last byte but one: the scan goes past the end safely.
  EXPECT_FALSE(MatchYearly(december, "每年1\xD4", month, day, hour, minute));
  EXPECT_EQ(month, "1");
  EXPECT_EQ(day, "");
}

TEST(ScheduleText, OncePassedDatesAndOtherFormats) {
  const ShortDateFormat slashes("yyyy/M/d");
  std::string date, hour, minute;
  EXPECT_FALSE(MatchOnce(At(2025, 5, 1, 8, 5), "一次2024-5-1日8时5分", kDashes, date, hour, minute));
  EXPECT_FALSE(MatchOnce(At(2024, 6, 1, 8, 5), "一次2024-5-1日8时5分", kDashes, date, hour, minute));
  EXPECT_TRUE(MatchOnce(At(2024, 5, 1, 8, 5), "一次2024/5/1日8时5分", slashes, date, hour, minute));
  // A date written before the user changed the format no longer reads.
  EXPECT_EQ(ConvertMessage([&] { MatchOnce(At(2024, 5, 1, 8, 5), "一次2024-5-1日8时5分", slashes, date, hour, minute); }),
            "'2024-5-1' is not a valid date");
  EXPECT_EQ(ConvertMessage([&] { MatchOnce(At(2023, 3, 1, 8, 5), "一次2023-2-29日8时5分", kDashes, date, hour, minute); }),
            "'2023-2-29' is not a valid date");
}

TEST(ScheduleText, ByteScanStopsAtAUnitsFirstByteAnywhereInTheGbkBytes) {
  // 笔 is B1 CA and 比 is B1 C8: their second bytes are the first bytes of 时 and 日.
  // 发 is B7 A2: its first byte is the first byte of 分.
  const LocalTime now = At(2024, 5, 1, 22, 3);
  struct Case {
    std::string text;
    std::vector<std::string> outputs;
    std::string outcome;  // "due", "not due" or the failure message
  };
  const std::vector<Case> cases = {
      {"每天笔时30分", {"\xB1", "\xB1" "30"}, "'\xB1' is not a valid integer value"},
      {"每天22时3发0分", {"22", "3"}, "due"},
      {"每周比日9时0分", {"\xB1", "\xD5" "9", "0"}, "'\xB1' is not a valid integer value"},
      {"每年5月1日22时3分", {"5", "1", "22", "3"}, "due"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> out(c.outputs.size());
    bool due = false;
    const std::string message = ConvertMessage([&] {
      if (out.size() == 2) due = MatchDaily(now, c.text, out[0], out[1]);
      if (out.size() == 3) due = MatchWeekly(now, c.text, out[0], out[1], out[2]);
      if (out.size() == 4) due = MatchYearly(now, c.text, out[0], out[1], out[2], out[3]);
    });
    EXPECT_EQ(out, c.outputs);
    EXPECT_EQ(message == "(no failure)" ? (due ? "due" : "not due") : message, c.outcome);
  }
}

}  // namespace
}  // namespace morrowick
