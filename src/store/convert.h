// The number and date conversions of schedule fields. A text that does not convert
// raises ConvertError with the exact message the error report shows.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "store/date_format.h"

namespace morrowick {

class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string InvalidIntegerText(const std::string& text);  // "'%s' is not a valid integer value"
std::string InvalidDateText(const std::string& text);     // "'%s' is not a valid date"

// A decimal integer: an optional "+" or "-", then one or more digits (leading zeros
// allowed), nothing else: no blanks, no hexadecimal. A value outside the signed 32-bit
// range does not convert either.
int32_t ToInteger(const std::string& text);

// A date written in the given short date format (see ShortDateFormat::Parse; a year of
// one or two digits lies within fifty years of reference_year).
CalendarDate ToDate(const std::string& text, const ShortDateFormat& format, int32_t reference_year);

}  // namespace morrowick
