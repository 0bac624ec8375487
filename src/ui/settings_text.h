// The settings window's own logic: the countdown length shown in minutes and taken back
// in seconds, the key filter of the countdown box, and the task list's rows, which keep
// every caption equal to the slot number of the task the row shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/registry.h"
#include "store/state.h"
#include "store/store.h"

namespace morrowick {

// The character the user's locale puts between the whole and the fractional part of a
// number: on Windows the user's setting, read afresh at each call; elsewhere ".".
char UserDecimalSeparator();

// "'%s' is not a valid floating point value".
std::string InvalidFloatText(const std::string& text);

// The countdown length in minutes, as the countdown box shows it: seconds / 60 in
// general format with at most 15 significant digits, trailing zeros dropped and the
// given decimal separator: 60 -> "1", 90 -> "1.5", 100 -> "1.66666666666667".
std::string MinutesText(int32_t seconds, char decimal_separator);

// The countdown box takes backspace, the point and the digits; nothing else.
bool CountdownBoxAccepts(char c);

// The countdown length in seconds from the box's text: empty gives 60; otherwise the
// text read as a decimal number (blanks around it, a sign, digits with one decimal
// separator, an exponent E or e) times 60, rounded to the nearest integer with halves
// going to the even neighbour. The number is taken exactly as written, not through a
// binary floating-point value, so 0.075 minutes is exactly 4.5 seconds and gives 4.
// A text that is no number raises ConvertError with InvalidFloatText. A length below
// 0 or beyond 2147483647 seconds gives nothing.
std::optional<int32_t> CountdownSeconds(const std::string& minutes_text, char decimal_separator);

// Shown when CountdownSeconds gives nothing.
inline constexpr char kCountdownRangeMessage[] =
    "关机前等待的时间必须在 0 到 35791394 分钟之间。";

// One row of the task list: caption = slot number, then A n, B n, C n.
struct TaskRow {
  int32_t slot = 0;
  TaskTexts texts;
};

// Slots 1 .. TaskNum (the count in memory) whose schedule text is not empty, in slot
// order, read through the program key, which it opens first.
std::vector<TaskRow> ReadTaskRows(RegistryAccessor& reg, const Settings& settings);

// Where the task of a slot is after slot `deleted` was removed: one lower when it lay
// above, unchanged below, nothing when it was the deleted one.
std::optional<int32_t> SlotAfterDelete(int32_t slot, int32_t deleted);

}  // namespace morrowick
