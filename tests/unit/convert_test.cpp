#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "civil_calendar.h"
#include "store/convert.h"
#include "store/date_format.h"

namespace morrowick {
namespace {

std::string Failure(const std::function<void()>& f) {
  try {
    f();
  } catch (const ConvertError& e) {
    return e.what();
  }
  return "(no failure)";
}

TEST(Convert, DecimalIntegers) {
  const std::vector<std::pair<std::string, int32_t>> good = {
      {"0", 0},
      {"8", 8},
      {"08", 8},
      {"-0", 0},
      {"+7", 7},
      {"-5", -5},
      {"0000000000000000000000042", 42},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"-00002147483648", INT32_MIN},
  };
  for (const auto& [text, value] : good) EXPECT_EQ(ToInteger(text), value) << text;

  const std::vector<std::string> bad = {
      "", "+", "-", " 5", "5 ", "\t5", "0x10", "$10", "1e3", "1.0", "1,000", "--1", "+-1", "5-",
      "2147483648", "-2147483649", "99999999999999999999", "\xA3\xB1" /* full-width 1 */, "5\n",
  };
  for (const std::string& text : bad) {
    EXPECT_EQ(Failure([&] { ToInteger(text); }), "'" + text + "' is not a valid integer value")
        << text;
  }
}

TEST(Convert, ErrorTextsAreExact) {
  EXPECT_EQ(InvalidIntegerText("x"), "'x' is not a valid integer value");
  EXPECT_EQ(InvalidDateText("2024"), "'2024' is not a valid date");
  const std::runtime_error& base = ConvertError("m");
  EXPECT_STREQ(base.what(), "m");
}

TEST(Calendar, LeapYearsAndMonthLengths) {
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(2023));
  // Checked against an independent calendar for four centuries.
  for (int y = 1900; y < 2300; ++y) {
    for (unsigned m = 1; m <= 12; ++m) {
      const int64_t next = m == 12 ? civil::DayNumber(y + 1, 1, 1) : civil::DayNumber(y, m + 1, 1);
      ASSERT_EQ(DaysInMonth(y, static_cast<int>(m)), next - civil::DayNumber(y, m, 1)) << y << "-" << m;
    }
  }
  EXPECT_EQ(DaysInMonth(2024, 0), 0);
  EXPECT_EQ(DaysInMonth(2024, 13), 0);
  EXPECT_TRUE(IsValidDate({2024, 2, 29}));
  EXPECT_FALSE(IsValidDate({2023, 2, 29}));
  EXPECT_FALSE(IsValidDate({2024, 2, 30}));
  EXPECT_FALSE(IsValidDate({0, 1, 1}));
  EXPECT_FALSE(IsValidDate({10000, 1, 1}));
}

TEST(ShortDate, PicturesFormatAsWritten) {
  const CalendarDate may_day{2024, 5, 1};
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"yyyy-M-d", "2024-5-1"},
      {"yyyy/M/d", "2024/5/1"},
      {"yyyy/MM/dd", "2024/05/01"},
      {"d.M.yyyy", "1.5.2024"},
      {"dd/MM/yy", "01/05/24"},
      {"M/d/y", "5/1/24"},
      {"yyyyy-M-d", "2024-5-1"},
      {"yyyy'年'M'月'd", "2024年5月1"},
      {"yyyy年M月d", "2024年5月1"},
      {"dd' de 'MM' de 'yyyy", "01 de 05 de 2024"},
      {"d''''M-yyyy", "1'5-2024"},
  };
  for (const auto& [picture, text] : cases) {
    const ShortDateFormat format(picture);
    EXPECT_EQ(format.picture(), picture);
    EXPECT_EQ(format.Format(may_day), text) << picture;
    EXPECT_EQ(format.Parse(text, 2024), may_day) << picture;
  }
  EXPECT_EQ(ShortDateFormat("yyyy-M-d").Format({987, 12, 31}), "0987-12-31");
  EXPECT_EQ(ShortDateFormat().picture(), "yyyy-M-d");
}

TEST(ShortDate, PicturesThatCannotBeReadBackFallBackToTheFixedOne) {
  for (const char* picture : {"", "dddd, MMMM d, yyyy", "d MMM yyyy", "gg yyyy/M/d", "yyyyMMdd",
                              "yyyy-Md", "yyyy-M-d'5'", "yyyy年M月d日", "yyyy'日'M-d", "yyyy-M",
                              "d-M-yyyy-d", "yyyy-M-d-yy", "hello"}) {
    const ShortDateFormat format(picture);
    EXPECT_EQ(format.picture(), "yyyy-M-d") << picture;
    EXPECT_EQ(format.Format({2024, 5, 1}), "2024-5-1") << picture;
  }
}

TEST(ShortDate, ReadingIsStrictExceptForLeadingZeros) {
  const ShortDateFormat dashes("yyyy-M-d");
  EXPECT_EQ(dashes.Parse("2024-05-01", 2024), (CalendarDate{2024, 5, 1}));
  EXPECT_EQ(dashes.Parse("02024-0005-0001", 2024), (CalendarDate{2024, 5, 1}));
  EXPECT_EQ(dashes.Parse("2024-2-29", 2024), (CalendarDate{2024, 2, 29}));
  for (const char* text : {"", " 2024-5-1", "2024-5-1 ", "2024-5", "2024-5-", "2024--1", "2024-13-1",
                           "2023-2-29", "2024-4-31", "2024-0-1", "2024-1-0", "0000-1-1", "10000-1-1",
                           "2024/5/1", "+2024-5-1", "2024-5-1日", "99999999999999999999-1-1"}) {
    EXPECT_FALSE(dashes.Parse(text, 2024).has_value()) << text;
  }
}

TEST(ShortDate, YearsOfTwoDigitsLieWithinFiftyYearsOfTheReference) {
  const ShortDateFormat format("yy-M-d");
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"24-5-1", 2024}, {"5-5-1", 2005}, {"73-5-1", 2073}, {"74-5-1", 1974}, {"00-5-1", 2000},
  };
  for (const auto& [text, year] : cases) {
    EXPECT_EQ(format.Parse(text, 2024), (CalendarDate{year, 5, 1})) << text;
  }
  EXPECT_EQ(format.Parse("99-1-1", 2070), (CalendarDate{2099, 1, 1}));
  EXPECT_EQ(format.Parse("2024-5-1", 1990), (CalendarDate{2024, 5, 1}));
}

TEST(ShortDate, EveryDayReadsBackWithEveryPicture) {
  for (const char* picture : {"yyyy-M-d", "yyyy/MM/dd", "dd.MM.yy", "M/d/yyyy", "d'年'M'月'y"}) {
    const ShortDateFormat format(picture);
    ASSERT_EQ(format.picture(), picture);
    for (int64_t day = civil::DayNumber(1960, 1, 1); day < civil::DayNumber(2090, 1, 1); ++day) {
      const civil::Date d = civil::FromDayNumber(day);
      const CalendarDate date{static_cast<int32_t>(d.year), static_cast<int32_t>(d.month),
                              static_cast<int32_t>(d.day)};
      ASSERT_EQ(format.Parse(format.Format(date), date.year), date) << picture << " " << format.Format(date);
    }
  }
}

TEST(Convert, DatesFailWithTheExactText) {
  const ShortDateFormat dashes;
  EXPECT_EQ(ToDate("2024-5-1", dashes, 2024), (CalendarDate{2024, 5, 1}));
  for (const char* text : {"", "bad", "2024/5/1", "2023-2-29"}) {
    EXPECT_EQ(Failure([&] { ToDate(text, dashes, 2024); }), std::string("'") + text + "' is not a valid date");
  }
}

}  // namespace
}  // namespace morrowick
