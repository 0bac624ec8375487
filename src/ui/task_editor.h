// The task editor's own logic: the uptime label, the key filter of its digit boxes, the
// table the type box's change follows, saving the composed task on OK and filling the
// editor from a slot. The window reads its controls into these values and writes back
// what comes out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scheduler/clock.h"
#include "store/date_format.h"
#include "store/registry.h"
#include "store/schedule_text.h"
#include "store/state.h"
#include "store/store.h"

namespace morrowick {

// "开机时间:" H "时" M "分" S "秒" for the whole seconds of the tick count; the hours are
// not reduced to a day: 90061000 ms reads "开机时间:25时1分1秒".
std::string UptimeLabel(uint32_t tick_count);

// The idle and boot boxes take backspace and the digits; nothing else.
bool DigitBoxAccepts(char c);

// The caption the argument label has when the editor is made.
inline constexpr char kArgumentLabelCaption[] = "提醒语:";

// What a change of the type box's text does to the argument label and box. The box is
// always emptied first (items, text and hint); a text that is none of the twelve types
// leaves the label as it is and the box empty.
struct TypeChange {
  bool known = false;
  std::string label;               // the argument label's new caption
  std::vector<std::string> items;  // the argument box's items
  std::string text;                // its text
  std::string hint;                // its tooltip
};
TypeChange TypeChangeFor(const std::string& type_text);

// The values of the editor's controls when OK is pressed.
struct EditorInput {
  std::optional<ScheduleKind> kind;  // the checked radio button; none when none is
  ScheduleValues values;             // hour and minute from the picker of that kind
  std::string type;                  // the type box's text
  std::string argument;              // the argument box's text
};

// How an editor was opened: for a new task, or for the task of one slot.
enum class EditorMode { Add, Modify };

inline constexpr char kChooseTimeMessage[] = "请选择时间";

struct EditorSave {
  enum class Outcome { NoKind, Refused, Saved };
  Outcome outcome = Outcome::NoKind;
  std::string message;  // NoKind: "请选择时间"; Refused: names the box
  // Boot: the hours and minutes boxes as the editor then shows them (an empty box is
  // "0"); the other kinds leave them as they were.
  std::string boot_hours, boot_minutes;
  int32_t slot = 0;  // Saved: the slot written
  TaskTexts task;    // Saved: the texts written
};

// The editor's OK: opens the program key; without a kind, stops with "请选择时间";
// fills empty boot boxes with "0"; refuses, naming the box, a text that the scheduler
// could not turn into a number (an empty idle box, letters in a weekday, day or month
// box, a number beyond 32 bits), without writing; otherwise composes the schedule and
// appends the task (Add) or rewrites `slot` (Modify). Ranges are not checked.
EditorSave SaveEditorTask(RegistryAccessor& reg, Settings& settings, EditorMode mode, int32_t slot,
                          EditorInput input, const ShortDateFormat& date_format);

// The message naming a box whose text would not convert, or nothing when every box
// the kind stores converts.
std::optional<std::string> RefusedBox(ScheduleKind kind, const ScheduleValues& values);

// The boxes of the editor that take a text as it stands.
enum class EditorBox { IdleMinutes, Weekday, MonthlyDay, YearlyMonth, YearlyDay, BootHours, BootMinutes };

// The editor's controls as the fill writes them. The type and argument texts set here
// are the program's own settings: they do not run the type change.
class EditorFields {
 public:
  virtual ~EditorFields() = default;
  virtual void SetTypeText(const std::string& text) = 0;
  virtual void SetArgumentText(const std::string& text) = 0;
  virtual void CheckKind(ScheduleKind kind) = 0;
  virtual void SetBoxText(EditorBox box, const std::string& text) = 0;
  virtual void SetOnceDate(const CalendarDate& date) = 0;
  // The time picker of the kind (Once ... Yearly), seconds 0.
  virtual void SetTimeOfDay(ScheduleKind kind, int hour, int minute) = 0;
};

// "Invalid argument to time encode": an hour outside 0 ... 23 or a minute outside 0 ... 59.
inline constexpr char kTimeEncodeMessage[] = "Invalid argument to time encode";

// Fills the editor from slot n: opens the program key, reads A n, B n, C n, sets the
// type and argument texts, then checks the kind's radio button and sets its controls
// from the fields the kind's match operation cuts from A n at `now` (its answer is not
// used). Hour and minute are converted for the time pickers, the date of a once
// schedule is read with the short date format. A field that does not convert raises
// ConvertError and the fill stops there, leaving what it set. A text of no kind sets
// nothing more.
void FillEditorFromSlot(RegistryAccessor& reg, int32_t slot, const LocalTime& now,
                        const ShortDateFormat& date_format, EditorFields& fields);

}  // namespace morrowick
