#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "store/convert.h"
#include "store/memory_registry.h"
#include "ui/settings_text.h"

namespace morrowick {
namespace {

TEST(MinutesTextTest, GeneralFormatWithFifteenSignificantDigits) {
  struct Case {
    int32_t seconds;
    char separator;
    std::string text;
  };
  const Case cases[] = {
      {60, '.', "1"},
      {90, '.', "1.5"},
      {100, '.', "1.66666666666667"},
      {0, '.', "0"},
      {30, '.', "0.5"},
      {1, '.', "0.0166666666666667"},   // leading zeros do not count as digits
      {40, '.', "0.666666666666667"},
      {59, '.', "0.983333333333333"},
      {3600, '.', "60"},
      {-90, '.', "-1.5"},
      {std::numeric_limits<int32_t>::max(), '.', "35791394.1166667"},
      {std::numeric_limits<int32_t>::min(), '.', "-35791394.1333333"},
      {90, ',', "1,5"},
      {100, ',', "1,66666666666667"},
      {6000, ',', "100"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MinutesText(c.seconds, c.separator), c.text) << c.seconds;
  }
}

TEST(CountdownSecondsTest, MinutesTimesSixtyRoundedHalfToEven) {
  struct Case {
    std::string text;
    char separator;
    int32_t seconds;
  };
  const Case cases[] = {
      {"", '.', 60},  // an empty box stands for the default
      {"0.5", '.', 30},
      {"0", '.', 0},
      {"1", '.', 60},
      {"1.5", '.', 90},
      {"1.66666666666667", '.', 100},
      {".5", '.', 30},
      {"5.", '.', 300},
      {"007", '.', 420},
      {"0.025", '.', 2},   // 1.5 s: to the even 2
      {"0.075", '.', 4},   // 4.5 s: to the even 4, though 0.075 has no exact binary value
      {"0.0125", '.', 1},  // 0.75 s
      {"0.00833", '.', 0}, // 0.4998 s
      {"0.0083334", '.', 1},
      {"0.0000001", '.', 0},
      {"-0.001", '.', 0},  // -0.06 s rounds to 0, which is no negative length
      {"1e1", '.', 600},
      {"1.5E-1", '.', 9},
      {" 2 ", '.', 120},
      {"+2", '.', 120},
      {"1,5", ',', 90},
      {"35791394.1166667", '.', std::numeric_limits<int32_t>::max()},
      {"35791394.12", '.', std::numeric_limits<int32_t>::max()},
  };
  for (const Case& c : cases) {
    const std::optional<int32_t> s = CountdownSeconds(c.text, c.separator);
    ASSERT_TRUE(s.has_value()) << c.text;
    EXPECT_EQ(*s, c.seconds) << c.text;
  }
}

TEST(CountdownSecondsTest, WhatTheBoxShowsConvertsBackToTheSameSeconds) {
  std::vector<int32_t> seconds;
  for (int32_t s = 0; s <= 200000; ++s) seconds.push_back(s);
  for (int32_t s = std::numeric_limits<int32_t>::max(); s > std::numeric_limits<int32_t>::max() - 1000; --s) {
    seconds.push_back(s);
  }
  for (int32_t s = 1; s < std::numeric_limits<int32_t>::max() / 7; s = s * 7 + 3) seconds.push_back(s);
  for (int32_t s : seconds) {
    for (char sep : {'.', ','}) {
      const std::optional<int32_t> back = CountdownSeconds(MinutesText(s, sep), sep);
      ASSERT_TRUE(back.has_value()) << s;
      ASSERT_EQ(*back, s) << MinutesText(s, sep);
    }
  }
}

TEST(CountdownSecondsTest, ATextThatIsNoNumberRaisesTheConversionMessage) {
  struct Case {
    std::string text;
    char separator;
  };
  const Case cases[] = {{".", '.'},  {"1.2.3", '.'}, {"abc", '.'}, {" ", '.'},  {"1e", '.'},
                        {"+", '.'},  {"1,5", '.'},   {"1.5", ','}, {"1 2", '.'}, {"--1", '.'},
                        {"0x10", '.'}, {"1e+", '.'}};
  for (const Case& c : cases) {
    try {
      CountdownSeconds(c.text, c.separator);
      ADD_FAILURE() << "no failure for '" << c.text << "'";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + c.text + "' is not a valid floating point value");
    }
  }
}

TEST(CountdownSecondsTest, NegativeOrBeyondThirtyTwoBitsGivesNothing) {
  for (const char* text : {"-1", "-0.5", "-0.009", "35791394.13", "35791395", "1e9", "1e999999999999",
                           "99999999999999999999999"}) {
    EXPECT_FALSE(CountdownSeconds(text, '.').has_value()) << text;
  }
  EXPECT_EQ(CountdownSeconds("1e-999999999999", '.'), 0);
}

TEST(KeyFilterTest, CountdownBoxTakesBackspacePointAndDigits) {
  std::string passed;
  for (int c = 0; c < 256; ++c) {
    if (CountdownBoxAccepts(static_cast<char>(c))) passed += static_cast<char>(c);
  }
  EXPECT_EQ(passed, std::string("\b.0123456789"));
}

TEST(SlotAfterDeleteTest, HigherSlotsMoveDownAndTheDeletedOneIsGone) {
  EXPECT_EQ(SlotAfterDelete(1, 2), 1);
  EXPECT_EQ(SlotAfterDelete(3, 2), 2);
  EXPECT_EQ(SlotAfterDelete(10, 2), 9);
  EXPECT_EQ(SlotAfterDelete(2, 2), std::nullopt);
}

TEST(ReadTaskRowsTest, ListsTheSlotsInOrderAndSkipsEmptySchedules) {
  MemoryRegistry reg;
  Settings settings;
  LoadSettings(reg, settings);
  AppendTask(reg, settings, {"每天8时0分", "提醒", "早"});
  AppendTask(reg, settings, {"", "提醒", "空的"});
  AppendTask(reg, settings, {"每周7日9时0分", "", ""});
  settings.TaskNum = 4;  // slot 4 has no values at all
  reg.CloseKey();

  const std::vector<TaskRow> rows = ReadTaskRows(reg, settings);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].slot, 1);
  EXPECT_EQ(rows[0].texts.schedule, "每天8时0分");
  EXPECT_EQ(rows[0].texts.type, "提醒");
  EXPECT_EQ(rows[0].texts.argument, "早");
  EXPECT_EQ(rows[1].slot, 3);
  EXPECT_EQ(rows[1].texts.schedule, "每周7日9时0分");
  EXPECT_EQ(rows[1].texts.type, "");
}

TEST(ReadTaskRowsTest, ASlotValueOfAnotherTypeIsReported) {
  MemoryRegistry reg;
  Settings settings;
  LoadSettings(reg, settings);
  AppendTask(reg, settings, {"每天8时0分", "提醒", "早"});
  reg.PutDword(MemoryRegistry::KeyName(RootKey::LocalMachine, kProgramKeyPath), "B1", 5);
  try {
    ReadTaskRows(reg, settings);
    ADD_FAILURE() << "no failure";
  } catch (const RegistryError& e) {
    EXPECT_EQ(std::string(e.what()), "Invalid data type for 'B1'");
  }
}

}  // namespace
}  // namespace morrowick
