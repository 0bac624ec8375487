// The short date format in which the date of a once schedule is written and read back.
// One picture, one formatter and one parser serve both directions, so a date written
// with a picture always reads back with the same picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morrowick {

struct CalendarDate {
  int32_t year = 0;
  int32_t month = 0;  // 1 = January
  int32_t day = 0;    // 1 ... days of the month
  bool operator==(const CalendarDate&) const = default;
};

bool IsLeapYear(int32_t year);
int32_t DaysInMonth(int32_t year, int32_t month);  // 0 for a month outside 1 ... 12
// A day of the calendar between the years 1 and 9999.
bool IsValidDate(const CalendarDate& date);

// The picture used where the system has no locale format to offer.
inline constexpr char kFixedShortDatePicture[] = "yyyy-M-d";

// A short date picture in the notation of the system's locale settings:
//   d, dd      day, without / with a leading zero
//   M, MM      month, without / with a leading zero
//   y, yy      year within the century, without / with a leading zero
//   yyy ...    the full year (four digits at least)
//   'text'     literal text ('' inside stands for one quote)
// Any other character is literal; a GBK character is always taken as a whole.
class ShortDateFormat {
 public:
  // A picture that could not be read back unambiguously falls back to the fixed picture:
  // one without exactly one day, month and year, with names (ddd, MMM) or an era (g),
  // with two numbers not parted by a separator that starts with a non-digit, or with
  // the first byte of "日", which would end the date field of a schedule text early.
  explicit ShortDateFormat(const std::string& picture = kFixedShortDatePicture);

  // The picture in use (the fixed one when the given picture was refused).
  const std::string& picture() const { return picture_; }

  std::string Format(const CalendarDate& date) const;

  // Reads a date written in this format. Day, month and year take one or more digits
  // (leading zeros allowed, whatever their width in the picture); a year of one or two
  // digits is taken as the year within fifty years of reference_year. Nothing may
  // stand before, between or behind but the picture's literal text. Empty when the
  // text does not follow the picture or names no day of the calendar.
  std::optional<CalendarDate> Parse(const std::string& text, int32_t reference_year) const;

 private:
  enum class Part { Literal, Day, Month, Year };
  struct Element {
    Part part;
    int width;            // letters in the picture
    std::string literal;  // for Part::Literal
  };
  static bool Compile(const std::string& picture, std::vector<Element>& elements);

  std::string picture_;
  std::vector<Element> elements_;
};

// The short date format in force for the user: on Windows the user's locale setting
// (read afresh at each call), elsewhere the fixed picture.
ShortDateFormat UserShortDateFormat();

}  // namespace morrowick
