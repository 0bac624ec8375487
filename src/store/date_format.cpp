#include "store/date_format.h"

#include <algorithm>
#include <cstdio>

namespace morrowick {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The schedule text cuts the date of a once schedule at the first byte of "日".
constexpr unsigned char kDayUnitFirstByte = 0xC8;

// No day, month or year of the calendar needs more; it also keeps the sum in range.
constexpr int32_t kLargestNumber = 99999;

std::string Padded(int32_t value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, static_cast<int>(value));
  return buf;
}

}  // namespace

bool IsLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t DaysInMonth(int32_t year, int32_t month) {
  static constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

bool IsValidDate(const CalendarDate& date) {
  return date.year >= 1 && date.year <= 9999 && date.day >= 1 &&
         date.day <= DaysInMonth(date.year, date.month);
}

ShortDateFormat::ShortDateFormat(const std::string& picture) : picture_(picture) {
  if (!Compile(picture_, elements_)) {
    picture_ = kFixedShortDatePicture;
    Compile(picture_, elements_);
  }
}

bool ShortDateFormat::Compile(const std::string& picture, std::vector<Element>& elements) {
  elements.clear();
  auto add_literal = [&elements](const std::string& bytes) {
    if (elements.empty() || elements.back().part != Part::Literal) {
      elements.push_back({Part::Literal, 0, {}});
    }
    elements.back().literal += bytes;
  };

  const size_t n = picture.size();
  size_t i = 0;
  while (i < n) {
    const char c = picture[i];
    if (c == '\'') {
      std::string quoted;
      ++i;
      while (i < n) {
        if (picture[i] == '\'') {
          if (i + 1 < n && picture[i + 1] == '\'') {
            quoted += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        const size_t len = IsGbkLeadByte(static_cast<unsigned char>(picture[i])) && i + 1 < n ? 2 : 1;
        quoted.append(picture, i, len);
        i += len;
      }
      if (!quoted.empty()) add_literal(quoted);
    } else if (c == 'd' || c == 'M' || c == 'y' || c == 'g') {
      size_t run = 1;
      while (i + run < n && picture[i + run] == c) ++run;
      i += run;
      if (c == 'g') return false;  // era names cannot be read back
      if (c != 'y' && run > 2) return false;  // day and month names neither
      const Part part = c == 'd' ? Part::Day : c == 'M' ? Part::Month : Part::Year;
      elements.push_back({part, static_cast<int>(run), {}});
    } else {
      const size_t len = IsGbkLeadByte(static_cast<unsigned char>(c)) && i + 1 < n ? 2 : 1;
      add_literal(picture.substr(i, len));
      i += len;
    }
  }

  int days = 0, months = 0, years = 0;
  for (size_t k = 0; k < elements.size(); ++k) {
    const Element& e = elements[k];
    if (e.part == Part::Literal) {
      for (char b : e.literal) {
        if (static_cast<unsigned char>(b) == kDayUnitFirstByte) return false;
      }
      continue;
    }
    days += e.part == Part::Day;
    months += e.part == Part::Month;
    years += e.part == Part::Year;
    // A number ends at the first non-digit, so what follows it must begin with one.
    if (k + 1 < elements.size()) {
      const Element& next = elements[k + 1];
      if (next.part != Part::Literal || IsDigit(next.literal[0])) return false;
    }
  }
  return days == 1 && months == 1 && years == 1;
}

std::string ShortDateFormat::Format(const CalendarDate& date) const {
  std::string out;
  for (const Element& e : elements_) {
    switch (e.part) {
      case Part::Literal:
        out += e.literal;
        break;
      case Part::Day:
        out += Padded(date.day, e.width);
        break;
      case Part::Month:
        out += Padded(date.month, e.width);
        break;
      case Part::Year:
        out += e.width <= 2 ? Padded(date.year % 100, e.width) : Padded(date.year, 4);
        break;
    }
  }
  return out;
}

std::optional<CalendarDate> ShortDateFormat::Parse(const std::string& text,
                                                   int32_t reference_year) const {
  CalendarDate date;
  size_t pos = 0;
  for (const Element& e : elements_) {
    if (e.part == Part::Literal) {
      if (text.compare(pos, e.literal.size(), e.literal) != 0) return std::nullopt;
      pos += e.literal.size();
      continue;
    }
    const size_t start = pos;
    int32_t value = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
      value = value * 10 + (text[pos] - '0');
      if (value > kLargestNumber) return std::nullopt;
      ++pos;
    }
    if (pos == start) return std::nullopt;
    if (e.part == Part::Day) {
      date.day = value;
    } else if (e.part == Part::Month) {
      date.month = value;
    } else if (pos - start <= 2) {
      // The year within fifty years of the reference year, either side.
      const int32_t base = std::clamp<int32_t>(reference_year, 1, 9999) - 50;
      date.year = base / 100 * 100 + value;
      if (date.year < base) date.year += 100;
    } else {
      date.year = value;
    }
  }
  if (pos != text.size() || !IsValidDate(date)) return std::nullopt;
  return date;
}

#ifndef _WIN32
// Without a locale to ask, writer and reader use the fixed picture; the Windows build
// reads the user's picture instead (date_format_win32.cpp).
ShortDateFormat UserShortDateFormat() { return ShortDateFormat(kFixedShortDatePicture); }
#endif

}  // namespace morrowick
