#include "store/convert.h"

namespace morrowick {

std::string InvalidIntegerText(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

std::string InvalidDateText(const std::string& text) { return "'" + text + "' is not a valid date"; }

int32_t ToInteger(const std::string& text) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
  if (i == text.size()) throw ConvertError(InvalidIntegerText(text));
  // Accumulated as a magnitude in 64 bits: at most 2^31 fits the range either way.
  const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') throw ConvertError(InvalidIntegerText(text));
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) throw ConvertError(InvalidIntegerText(text));
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

CalendarDate ToDate(const std::string& text, const ShortDateFormat& format, int32_t reference_year) {
  const std::optional<CalendarDate> date = format.Parse(text, reference_year);
  if (!date) throw ConvertError(InvalidDateText(text));
  return *date;
}

}  // namespace morrowick
