#include "ui/task_editor.h"

#include "scheduler/dispatch.h"
#include "store/convert.h"

namespace morrowick {

namespace {

// kTaskTypes in editor order: 提醒, 打开文件, 关闭程序, 断开拨号, 拨号连接, then the seven
// power actions.
constexpr int kReminder = 0;
constexpr int kOpenFile = 1;
constexpr int kCloseProgram = 2;
constexpr int kHangUp = 3;
constexpr int kDial = 4;

constexpr char kOpenFileSentence[] = "可以打开mp3文件，程序，网址，电影视频等";
constexpr char kCloseProgramSentence[] = "在此输入程序的文件名或按浏览。";

// The fill only wants the fields the match operations cut; whether the schedule is due
// right now, which the idle and boot operations work out from these readings, is not
// used.
class NoTicks : public Clock {
 public:
  explicit NoTicks(const LocalTime& now) : now_(now) {}
  LocalTime Now() override { return now_; }
  uint32_t TickCount() override { return 0; }
  uint32_t LastInputTick() override { return 0; }

 private:
  LocalTime now_;
};

struct TimeOfDay {
  int hour;
  int minute;
};

// Hour and minute fields for a time picker: integers, then the time of day's ranges.
TimeOfDay ToTimeOfDay(const std::string& hour, const std::string& minute) {
  const int32_t h = ToInteger(hour);
  const int32_t m = ToInteger(minute);
  if (h < 0 || h > 23 || m < 0 || m > 59) throw ConvertError(kTimeEncodeMessage);
  return {h, m};
}

const char* BoxName(EditorBox box) {
  switch (box) {
    case EditorBox::IdleMinutes:
      return "空闲的分钟数";
    case EditorBox::Weekday:
      return "每周的星期";
    case EditorBox::MonthlyDay:
      return "每月的日期";
    case EditorBox::YearlyMonth:
      return "每年的月份";
    case EditorBox::YearlyDay:
      return "每年的日期";
    case EditorBox::BootHours:
      return "开机后的小时数";
    case EditorBox::BootMinutes:
      return "开机后的分钟数";
  }
  return "";
}

bool Converts(const std::string& text) {
  try {
    ToInteger(text);
    return true;
  } catch (const ConvertError&) {
    return false;
  }
}

}  // namespace

std::string UptimeLabel(uint32_t tick_count) {
  const uint32_t s = tick_count / 1000u;
  return "开机时间:" + std::to_string(s / 3600u) + "时" + std::to_string(s % 3600u / 60u) + "分" +
         std::to_string(s % 60u) + "秒";
}

bool DigitBoxAccepts(char c) { return c == 8 || (c >= '0' && c <= '9'); }

TypeChange TypeChangeFor(const std::string& type_text) {
  TypeChange change;
  int index = -1;
  for (int i = 0; i < kTaskTypeCount; ++i) {
    if (type_text == kTaskTypes[i]) index = i;
  }
  if (index < 0) return change;
  change.known = true;
  switch (index) {
    case kReminder:
      change.label = "提醒语：";
      change.items = {"下班时间到。", "要去上班啰。", "该吃饭了。", "该休息一下了。", "放学了。"};
      change.text = "下班时间到。";
      break;
    case kOpenFile:
      change.label = "文件:";
      change.text = change.hint = kOpenFileSentence;
      break;
    case kCloseProgram:
      change.label = "程序：";
      change.text = change.hint = kCloseProgramSentence;
      break;
    case kHangUp:
    case kDial:
      change.label = "属性：";
      break;
    default:  // the power actions name themselves
      change.label = "属性：";
      change.text = type_text;
      break;
  }
  return change;
}

std::optional<std::string> RefusedBox(ScheduleKind kind, const ScheduleValues& v) {
  struct Box {
    EditorBox box;
    const std::string* text;
  };
  std::vector<Box> boxes;
  switch (kind) {
    case ScheduleKind::Idle:
      boxes = {{EditorBox::IdleMinutes, &v.idle_minutes}};
      break;
    case ScheduleKind::Weekly:
      boxes = {{EditorBox::Weekday, &v.weekday}};
      break;
    case ScheduleKind::Monthly:
      boxes = {{EditorBox::MonthlyDay, &v.day}};
      break;
    case ScheduleKind::Yearly:
      boxes = {{EditorBox::YearlyMonth, &v.month}, {EditorBox::YearlyDay, &v.day}};
      break;
    case ScheduleKind::Boot:
      boxes = {{EditorBox::BootHours, &v.boot_hours}, {EditorBox::BootMinutes, &v.boot_minutes}};
      break;
    case ScheduleKind::Once:
    case ScheduleKind::Daily:
      break;  // the date and the times come from the pickers
  }
  // A text that converts is a sign and digits only, so it holds no unit character and
  // the scheduler cuts exactly this text back out of the schedule.
  for (const Box& b : boxes) {
    if (!Converts(*b.text)) {
      return std::string(BoxName(b.box)) + "必须是 -2147483648 到 2147483647 之间的整数。";
    }
  }
  return std::nullopt;
}

EditorSave SaveEditorTask(RegistryAccessor& reg, Settings& settings, EditorMode mode, int32_t slot,
                          EditorInput input, const ShortDateFormat& date_format) {
  OpenProgramKey(reg);
  EditorSave save;
  if (!input.kind) {
    save.outcome = EditorSave::Outcome::NoKind;
    save.message = kChooseTimeMessage;
    return save;
  }
  ScheduleValues& v = input.values;
  if (*input.kind == ScheduleKind::Boot) {
    if (v.boot_hours.empty()) v.boot_hours.assign(1, '0');
    if (v.boot_minutes.empty()) v.boot_minutes.assign(1, '0');
  }
  save.boot_hours = v.boot_hours;
  save.boot_minutes = v.boot_minutes;
  if (std::optional<std::string> refusal = RefusedBox(*input.kind, v)) {
    save.outcome = EditorSave::Outcome::Refused;
    save.message = *refusal;
    return save;
  }
  save.task = {ComposeScheduleText(*input.kind, v, date_format), input.type, input.argument};
  if (mode == EditorMode::Modify) {
    RewriteTask(reg, slot, save.task);
    save.slot = slot;
  } else {
    save.slot = AppendTask(reg, settings, save.task);
  }
  save.outcome = EditorSave::Outcome::Saved;
  return save;
}

void FillEditorFromSlot(RegistryAccessor& reg, int32_t slot, const LocalTime& now,
                        const ShortDateFormat& date_format, EditorFields& fields) {
  OpenProgramKey(reg);
  const TaskTexts task = ReadTask(reg, slot);
  fields.SetTypeText(task.type);
  fields.SetArgumentText(task.argument);
  const std::optional<ScheduleKind> kind = ScheduleKindOf(task.schedule);
  if (!kind) return;
  fields.CheckKind(*kind);

  NoTicks clock(now);
  const std::string& text = task.schedule;
  std::string a, b, c, d;
  switch (*kind) {
    case ScheduleKind::Idle:
      MatchIdle(now, text, clock, a);
      fields.SetBoxText(EditorBox::IdleMinutes, a);
      break;
    case ScheduleKind::Once: {
      MatchOnce(now, text, date_format, a, b, c);
      fields.SetOnceDate(ToDate(a, date_format, now.wYear));
      const TimeOfDay t = ToTimeOfDay(b, c);
      fields.SetTimeOfDay(*kind, t.hour, t.minute);
      break;
    }
    case ScheduleKind::Daily: {
      MatchDaily(now, text, a, b);
      const TimeOfDay t = ToTimeOfDay(a, b);
      fields.SetTimeOfDay(*kind, t.hour, t.minute);
      break;
    }
    case ScheduleKind::Weekly: {
      MatchWeekly(now, text, a, b, c);  // a stored "7" comes back as "0"
      fields.SetBoxText(EditorBox::Weekday, a);
      const TimeOfDay t = ToTimeOfDay(b, c);
      fields.SetTimeOfDay(*kind, t.hour, t.minute);
      break;
    }
    case ScheduleKind::Monthly: {
      MatchMonthly(now, text, a, b, c);
      fields.SetBoxText(EditorBox::MonthlyDay, a);
      const TimeOfDay t = ToTimeOfDay(b, c);
      fields.SetTimeOfDay(*kind, t.hour, t.minute);
      break;
    }
    case ScheduleKind::Yearly: {
      MatchYearly(now, text, a, b, c, d);
      fields.SetBoxText(EditorBox::YearlyMonth, a);
      fields.SetBoxText(EditorBox::YearlyDay, b);
      const TimeOfDay t = ToTimeOfDay(c, d);
      fields.SetTimeOfDay(*kind, t.hour, t.minute);
      break;
    }
    case ScheduleKind::Boot:
      MatchBoot(now, text, clock, a, b);
      fields.SetBoxText(EditorBox::BootHours, a);
      fields.SetBoxText(EditorBox::BootMinutes, b);
      break;
  }
}

}  // namespace morrowick
