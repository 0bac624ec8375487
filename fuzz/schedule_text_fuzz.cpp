// Feeds arbitrary bytes to the schedule text's recognition and match operations, with
// arbitrary moments, tick counts and short date pictures, and checks that composed texts
// match at their own moment. Only ConvertError may leave an operation.
//
// Input layout (missing bytes read as 0):
//   1 byte   flags
//   16 bytes the moment: wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond,
//            wMilliseconds, each 16-bit little-endian
//   4 bytes  tick count, 4 bytes last input tick (32-bit little-endian)
//   1 byte   picture length (taken modulo 24), then the picture's bytes
//   the rest: the schedule text
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "store/convert.h"
#include "store/schedule_text.h"

using namespace morrowick;

namespace {

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "schedule_text_fuzz: %s\n", what);
    std::abort();
  }
}

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint16_t U16() { return static_cast<uint16_t>(U8() | U8() << 8); }
  uint32_t U32() { return U16() | static_cast<uint32_t>(U16()) << 16; }
  std::string Bytes(size_t n) {
    n = std::min(n, size_ - pos_);
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }
  std::string Rest() { return Bytes(size_ - pos_); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

class FixedClock : public Clock {
 public:
  FixedClock(uint32_t tick, uint32_t last_input) : tick_(tick), last_input_(last_input) {}
  LocalTime Now() override { return {}; }
  uint32_t TickCount() override { return tick_; }
  uint32_t LastInputTick() override { return last_input_; }

 private:
  uint32_t tick_, last_input_;
};

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The operation's answer, or the failure's text. A field holding a NUL byte cuts the
// message short, so only texts without one are checked in full (texts read from the
// registry end at their first NUL).
template <typename F>
std::string Outcome(const std::string& text, F f) {
  try {
    return f() ? "due" : "not due";
  } catch (const ConvertError& e) {
    const std::string message = e.what();
    Require(!message.empty() && message[0] == '\'', "failure text without its quote");
    if (text.find('\0') == std::string::npos) {
      Require(EndsWith(message, "' is not a valid integer value") ||
                  EndsWith(message, "' is not a valid date"),
              "unexpected failure text");
    }
    return message;
  }
}

// A box text as the cut gives it back: up to the first byte of its unit character.
std::string Prefix(const std::string& text, char unit_first_byte) {
  return text.substr(0, text.find(unit_first_byte));
}

bool IsPieceOf(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

const char kHourByte = '\xCA';    // 时
const char kMinuteByte = '\xB7';  // 分

// Arbitrary text through every operation.
void ArbitraryText(const LocalTime& now, const std::string& text, Clock& clock,
                   const ShortDateFormat& format) {
  const std::optional<ScheduleKind> kind = ScheduleKindOf(text);
  for (ScheduleKind k : kScheduleKinds) {
    const bool marker = text.compare(0, 4, ScheduleMarker(k)) == 0;
    Require(marker == (kind == k), "ScheduleKindOf disagrees with the markers");
  }

  std::string a, b, c, d;
  const std::string outcomes[] = {
      Outcome(text, [&] { return MatchIdle(now, text, clock, a); }),
      Outcome(text, [&] { return MatchOnce(now, text, format, a, b, c); }),
      Outcome(text, [&] { return MatchDaily(now, text, a, b); }),
      Outcome(text, [&] { return MatchWeekly(now, text, a, b, c); }),
      Outcome(text, [&] { return MatchMonthly(now, text, a, b, c); }),
      Outcome(text, [&] { return MatchYearly(now, text, a, b, c, d); }),
      Outcome(text, [&] { return MatchBoot(now, text, clock, a, b); }),
  };
  // The last call's outputs are pieces of the text.
  Require(IsPieceOf(text, a) && IsPieceOf(text, b), "output is no piece of the text");

  const std::string stale(text.size() + 1, 'x');  // longer than any piece of the text
  a = b = c = stale;
  Outcome(text, [&] { return MatchWeekly(now, text, a, b, c); });
  Require(a != "7", "weekday 7 handed back");
  Require(a != stale && b != stale && c != stale, "output not emptied");

  const std::string due = Outcome(text, [&] { return IsScheduleDue(now, text, clock, format); });
  Require(due == (kind ? outcomes[static_cast<int>(*kind)] : std::string("not due")),
          "IsScheduleDue disagrees with the kind's operation");
}

// Texts composed from the moment and the readings match at that moment.
void RoundTrip(uint8_t flags, const LocalTime& raw, uint32_t tick, uint32_t last_input,
               const ShortDateFormat& format, const std::string& box_text) {
  LocalTime now = raw;
  now.wYear = static_cast<uint16_t>(1 + raw.wYear % 9999);
  now.wMonth = static_cast<uint16_t>(1 + raw.wMonth % 12);
  now.wDay = static_cast<uint16_t>(1 + raw.wDay % DaysInMonth(now.wYear, now.wMonth));
  now.wDayOfWeek = raw.wDayOfWeek % 7;
  now.wHour = raw.wHour % 24;
  now.wMinute = raw.wMinute % 60;
  LocalTime later = now;
  later.wMinute = now.wMinute == 59 ? 58 : now.wMinute + 1;

  const std::string zeros(flags % 3, '0');
  ScheduleValues v;
  v.date = {now.wYear, now.wMonth, now.wDay};
  v.hour = now.wHour;
  v.minute = now.wMinute;
  v.weekday = now.wDayOfWeek == 0 ? ((flags & 4) ? "7" : "0") : zeros + std::to_string(now.wDayOfWeek);
  v.day = zeros + std::to_string(now.wDay);
  v.month = zeros + std::to_string(now.wMonth);

  const std::string date_text = format.Format(v.date);
  Require(format.Parse(date_text, now.wYear) == v.date, "date does not read back");

  FixedClock clock(tick, last_input);
  std::string a, b, c, d;
  const std::string h = std::to_string(now.wHour), m = std::to_string(now.wMinute);

  std::string text = ComposeScheduleText(ScheduleKind::Once, v, format);
  Require(MatchOnce(now, text, format, a, b, c) && a == date_text && b == h && c == m, "once");
  Require(!MatchOnce(later, text, format, a, b, c), "once a minute later");

  text = ComposeScheduleText(ScheduleKind::Daily, v, format);
  Require(MatchDaily(now, text, a, b) && a == h && b == m, "daily");
  Require(!MatchDaily(later, text, a, b), "daily a minute later");

  text = ComposeScheduleText(ScheduleKind::Weekly, v, format);
  Require(MatchWeekly(now, text, a, b, c) && a == (v.weekday == "7" ? "0" : v.weekday), "weekly");
  Require(!MatchWeekly(later, text, a, b, c), "weekly a minute later");

  text = ComposeScheduleText(ScheduleKind::Monthly, v, format);
  Require(MatchMonthly(now, text, a, b, c) && a == v.day, "monthly");
  Require(!MatchMonthly(later, text, a, b, c), "monthly a minute later");

  text = ComposeScheduleText(ScheduleKind::Yearly, v, format);
  Require(MatchYearly(now, text, a, b, c, d) && a == v.month && b == v.day, "yearly");
  Require(!MatchYearly(later, text, a, b, c, d), "yearly a minute later");

  v.idle_minutes = std::to_string(IdleMinutes(tick, last_input));
  text = ComposeScheduleText(ScheduleKind::Idle, v, format);
  Require(MatchIdle(now, text, clock, a) && a == v.idle_minutes, "idle");

  const uint32_t uptime = UptimeMinutes(tick);
  const uint32_t hours = uptime / 60 == 0 ? 0 : (flags >> 3) % (uptime / 60 + 1);
  v.boot_hours = std::to_string(hours);
  v.boot_minutes = std::to_string(uptime - 60 * hours);
  text = ComposeScheduleText(ScheduleKind::Boot, v, format);
  Require(MatchBoot(now, text, clock, a, b) && a == v.boot_hours && b == v.boot_minutes, "boot");
  if (tick < 0xFFFFFFFFu - 60000u) {
    FixedClock minute_later(tick + 60000u, last_input);
    Require(!MatchBoot(now, text, minute_later, a, b), "boot a minute later");
  }

  // Box texts are taken over unchanged and cut at the first byte of their unit.
  v.idle_minutes = box_text;
  Outcome(box_text, [&] { return MatchIdle(now, ComposeScheduleText(ScheduleKind::Idle, v, format), clock, a); });
  Require(a == Prefix(box_text, kMinuteByte), "idle box text not cut at its unit");
  v.boot_hours = box_text;
  Outcome(box_text, [&] { return MatchBoot(now, ComposeScheduleText(ScheduleKind::Boot, v, format), clock, a, b); });
  Require(a == (box_text.empty() ? "0" : Prefix(box_text, kHourByte)), "boot box text not cut at its unit");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A build whose literals are not GBK would pass the round trips and still be wrong.
  Require(std::strcmp(ScheduleMarker(ScheduleKind::Daily), "\xC3\xBF\xCC\xEC") == 0,
          "markers are not GBK in this build");
  ScheduleValues v;
  Require(ComposeScheduleText(ScheduleKind::Daily, v, ShortDateFormat()) ==
              "\xC3\xBF\xCC\xEC" "0\xCA\xB1" "0\xB7\xD6",
          "unit words are not GBK in this build");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader r(data, size);
  const uint8_t flags = r.U8();
  LocalTime now;
  now.wYear = r.U16();
  now.wMonth = r.U16();
  now.wDayOfWeek = r.U16();
  now.wDay = r.U16();
  now.wHour = r.U16();
  now.wMinute = r.U16();
  now.wSecond = r.U16();
  now.wMilliseconds = r.U16();
  const uint32_t tick = r.U32();
  const uint32_t last_input = r.U32();
  const ShortDateFormat format(r.Bytes(r.U8() % 24));
  const std::string text = r.Rest();

  FixedClock clock(tick, last_input);
  ArbitraryText(now, text, clock, format);
  RoundTrip(flags, now, tick, last_input, format, text);
  return 0;
}
