#include "ui/settings_text.h"

#include <algorithm>
#include <limits>

#include "store/convert.h"

namespace morrowick {

namespace {

constexpr int kSignificantDigits = 15;

// "digits" with the decimal point at "point": value = 0.d1d2d3... x 10^point.
struct Decimal {
  bool negative = false;
  std::string digits;  // no leading zeros; empty for zero
  int64_t point = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// blanks* [+-] digits* [sep digits*] [(E|e) [+-] digits+] blanks*, with a digit in the
// number part.
std::optional<Decimal> ParseDecimal(const std::string& text, char sep) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  Decimal d;
  if (i < n && (text[i] == '+' || text[i] == '-')) d.negative = text[i++] == '-';
  std::string all;  // every digit of the number part, leading zeros included
  int64_t whole_digits = 0;
  while (i < n && IsDigit(text[i])) {
    all += text[i++];
    ++whole_digits;
  }
  if (i < n && text[i] == sep) {
    ++i;
    while (i < n && IsDigit(text[i])) all += text[i++];
  }
  if (all.empty()) return std::nullopt;
  int64_t exponent = 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool negative_exponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative_exponent = text[i++] == '-';
    if (i == n || !IsDigit(text[i])) return std::nullopt;
    while (i < n && IsDigit(text[i])) {
      // Beyond a million the value is out of every range here either way.
      if (exponent < 1000000) exponent = exponent * 10 + (text[i] - '0');
      ++i;
    }
    if (negative_exponent) exponent = -exponent;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return std::nullopt;

  size_t first = all.find_first_not_of('0');
  if (first == std::string::npos) return d;  // zero
  size_t last = all.find_last_not_of('0');
  d.digits = all.substr(first, last - first + 1);
  d.point = whole_digits - static_cast<int64_t>(first) + exponent;
  return d;
}

// Adds one to a string of decimal digits; returns false when it carries out of it.
bool Increment(std::string& digits) {
  for (size_t k = digits.size(); k-- > 0;) {
    if (digits[k] != '9') {
      ++digits[k];
      return true;
    }
    digits[k] = '0';
  }
  return false;
}

}  // namespace

#ifndef _WIN32
// Without a locale to ask, the point; the Windows build reads the user's setting
// (settings_text_win32.cpp).
char UserDecimalSeparator() { return '.'; }
#endif

std::string InvalidFloatText(const std::string& text) {
  return "'" + text + "' is not a valid floating point value";
}

std::string MinutesText(int32_t seconds, char decimal_separator) {
  // |seconds| / 60 has at most eight whole digits and, when not 0, is at least 1/60:
  // the general format always writes such a value in fixed notation. The digits come
  // from exact long division, rounded at the fifteenth significant digit.
  const bool negative = seconds < 0;
  const int64_t magnitude = negative ? -static_cast<int64_t>(seconds) : seconds;
  const int64_t whole = magnitude / 60;
  int64_t remainder = magnitude % 60;

  std::string digits = whole > 0 ? std::to_string(whole) : "";
  const size_t whole_count = digits.size();
  size_t significant = digits.size();
  // The fifteen significant digits, then one more to round on; a rest that is not zero
  // never leaves that digit at an exact half, since r / 60 either ends within two
  // fractional digits or repeats a 3 or a 6.
  while (significant < kSignificantDigits + 1 && remainder != 0) {
    remainder *= 10;
    digits += static_cast<char>('0' + remainder / 60);
    remainder %= 60;
    if (significant > 0 || digits.back() != '0') ++significant;
  }
  size_t point = whole_count;
  if (significant > kSignificantDigits) {
    const char round_digit = digits.back();
    digits.pop_back();
    if (round_digit >= '5' && !Increment(digits)) {
      digits.insert(digits.begin(), '1');
      ++point;
    }
  }
  std::string integer = digits.substr(0, point);
  std::string fraction = digits.substr(point);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  const bool zero = integer.empty() && fraction.empty();
  std::string text = negative && !zero ? "-" : "";
  text += integer.empty() ? std::string(1, '0') : integer;
  if (!fraction.empty()) {
    text += decimal_separator;
    text += fraction;
  }
  return text;
}

bool CountdownBoxAccepts(char c) { return c == 8 || c == '.' || IsDigit(c); }

std::optional<int32_t> CountdownSeconds(const std::string& minutes_text, char decimal_separator) {
  if (minutes_text.empty()) return 60;
  const std::optional<Decimal> d = ParseDecimal(minutes_text, decimal_separator);
  if (!d) throw ConvertError(InvalidFloatText(minutes_text));
  if (d->digits.empty()) return 0;
  // Below 0.001 minutes the length rounds to 0 seconds; from 10^8 minutes on it is out
  // of range.
  if (d->point <= -3) return 0;
  if (d->point > 8) return std::nullopt;

  // whole part and fractional part of the minutes
  const int64_t len = static_cast<int64_t>(d->digits.size());
  std::string whole_digits, fraction_digits;
  if (d->point >= 0) {
    whole_digits = d->digits.substr(0, static_cast<size_t>(std::min(d->point, len)));
    if (d->point > len) whole_digits.append(static_cast<size_t>(d->point - len), '0');
    if (d->point < len) fraction_digits = d->digits.substr(static_cast<size_t>(d->point));
  } else {
    fraction_digits = std::string(static_cast<size_t>(-d->point), '0') + d->digits;
  }
  int64_t seconds = whole_digits.empty() ? 0 : std::stoll(whole_digits) * 60;

  // fraction x 60 by long multiplication: the carry out is whole seconds, the digits
  // left are the fraction of a second.
  int carry = 0;
  for (size_t k = fraction_digits.size(); k-- > 0;) {
    const int p = (fraction_digits[k] - '0') * 60 + carry;
    fraction_digits[k] = static_cast<char>('0' + p % 10);
    carry = p / 10;
  }
  seconds += carry;
  if (!fraction_digits.empty()) {
    const char first = fraction_digits[0];
    const bool rest = fraction_digits.find_first_not_of('0', 1) != std::string::npos;
    if (first > '5' || (first == '5' && (rest || seconds % 2 == 1))) ++seconds;
  }
  if (d->negative && seconds != 0) return std::nullopt;
  if (seconds > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(seconds);
}

std::vector<TaskRow> ReadTaskRows(RegistryAccessor& reg, const Settings& settings) {
  OpenProgramKey(reg);
  std::vector<TaskRow> rows;
  for (int32_t i = 1; i <= settings.TaskNum; ++i) {
    std::string schedule = reg.ReadString(SlotValueName('A', i));
    if (schedule.empty()) continue;
    TaskRow row;
    row.slot = i;
    row.texts.schedule = std::move(schedule);
    row.texts.type = reg.ReadString(SlotValueName('B', i));
    row.texts.argument = reg.ReadString(SlotValueName('C', i));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::optional<int32_t> SlotAfterDelete(int32_t slot, int32_t deleted) {
  if (slot == deleted) return std::nullopt;
  return slot > deleted ? slot - 1 : slot;
}

}  // namespace morrowick
