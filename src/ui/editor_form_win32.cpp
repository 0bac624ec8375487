#include "ui/editor_form_win32.h"

#include <string>

#include "forms/application_win32.h"
#include "scheduler/dispatch.h"
#include "store/date_format.h"
#include "ui/settings_form_win32.h"
#include "ui/settings_text.h"

namespace morrowick {

namespace {

const forms::FormDesign kEditorDesign{.caption = "任务", .width = 438, .height = 335,
                                      .maximize_box = true, .font = {"宋体", -12}};

std::vector<std::string> Numbers(int from, int to) {
  std::vector<std::string> items;
  for (int i = from; i <= to; ++i) items.push_back(std::to_string(i));
  return items;
}

// The pickers' design-time value: 19 January 2009, 00:00:00.
SYSTEMTIME DesignTime() {
  SYSTEMTIME t{};
  t.wYear = 2009;
  t.wMonth = 1;
  t.wDay = 19;
  t.wDayOfWeek = 1;
  return t;
}

}  // namespace

// The editor's controls as the fill from a slot writes them.
class EditorControls : public EditorFields {
 public:
  explicit EditorControls(TForm5& f) : f_(f) {}
  void SetTypeText(const std::string& text) override { f_.ComboBox5.SetText(text); }
  void SetArgumentText(const std::string& text) override { f_.ComboBox6.SetText(text); }
  void CheckKind(ScheduleKind kind) override { f_.RadioOf(kind)->SetChecked(true); }
  void SetBoxText(EditorBox box, const std::string& text) override {
    switch (box) {
      case EditorBox::IdleMinutes:
        f_.Edit1.SetCaption(text);
        break;
      case EditorBox::Weekday:
        f_.ComboBox1.SetText(text);
        break;
      case EditorBox::MonthlyDay:
        f_.ComboBox2.SetText(text);
        break;
      case EditorBox::YearlyMonth:
        f_.ComboBox3.SetText(text);
        break;
      case EditorBox::YearlyDay:
        f_.ComboBox4.SetText(text);
        break;
      case EditorBox::BootHours:
        f_.Edit3.SetCaption(text);
        break;
      case EditorBox::BootMinutes:
        f_.Edit4.SetCaption(text);
        break;
    }
  }
  void SetOnceDate(const CalendarDate& date) override {
    SYSTEMTIME t = DesignTime();
    t.wYear = static_cast<WORD>(date.year);
    t.wMonth = static_cast<WORD>(date.month);
    t.wDay = static_cast<WORD>(date.day);
    t.wDayOfWeek = 0;  // the picker works it out
    f_.DateTimePicker1.SetValue(t);
  }
  void SetTimeOfDay(ScheduleKind kind, int hour, int minute) override {
    forms::DateTimePicker* picker = f_.TimePickerOf(kind);
    if (picker == nullptr) return;
    SYSTEMTIME t = picker->Value();
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = 0;
    t.wMilliseconds = 0;
    picker->SetValue(t);
  }

 private:
  TForm5& f_;
};

TForm5::TForm5(AppState& state, EditorMode mode, int32_t slot)
    : forms::Form("TForm5", kEditorDesign),
      RadioButton1(*this, Kinds),
      Edit1(*this),
      Label1(*this),
      RadioButton2(*this, Kinds),
      DateTimePicker1(*this, forms::DateTimePicker::Kind::Date),
      DateTimePicker2(*this, forms::DateTimePicker::Kind::Time),
      RadioButton3(*this, Kinds),
      DateTimePicker3(*this, forms::DateTimePicker::Kind::Time),
      RadioButton4(*this, Kinds),
      ComboBox1(*this),
      DateTimePicker4(*this, forms::DateTimePicker::Kind::Time),
      RadioButton5(*this, Kinds),
      ComboBox2(*this),
      Label2(*this),
      DateTimePicker5(*this, forms::DateTimePicker::Kind::Time),
      RadioButton6(*this, Kinds),
      ComboBox3(*this),
      Label3(*this),
      ComboBox4(*this),
      Label4(*this),
      DateTimePicker6(*this, forms::DateTimePicker::Kind::Time),
      RadioButton7(*this, Kinds),
      Edit3(*this),
      Label7(*this),
      Edit4(*this),
      Label8(*this),
      Label9(*this),
      Label5(*this),
      ComboBox5(*this),
      Label6(*this),
      ComboBox6(*this),
      Button1(*this),
      Button2(*this),
      Button3(*this),
      state_(state),
      mode_(mode),
      slot_(mode == EditorMode::Modify ? slot : 0) {
  // One row per kind: its radio button, then the boxes of its fields.
  RadioButton1.SetBounds(12, 12, 52, 17);
  RadioButton1.SetCaption("空闲");
  Edit1.SetBounds(70, 10, 60, 21);
  Label1.SetBounds(136, 14, 0, 12);
  Label1.SetCaption("分钟");

  RadioButton2.SetBounds(12, 38, 52, 17);
  RadioButton2.SetCaption("一次");
  DateTimePicker1.SetBounds(70, 36, 110, 21);
  DateTimePicker2.SetBounds(186, 36, 90, 21);

  RadioButton3.SetBounds(12, 64, 52, 17);
  RadioButton3.SetCaption("每天");
  DateTimePicker3.SetBounds(70, 62, 90, 21);

  RadioButton4.SetBounds(12, 90, 52, 17);
  RadioButton4.SetCaption("每周");
  ComboBox1.SetBounds(70, 88, 50, 200);
  DateTimePicker4.SetBounds(126, 88, 90, 21);

  RadioButton5.SetBounds(12, 116, 52, 17);
  RadioButton5.SetCaption("每月");
  ComboBox2.SetBounds(70, 114, 50, 200);
  Label2.SetBounds(124, 118, 0, 12);
  Label2.SetCaption("日");
  DateTimePicker5.SetBounds(142, 114, 90, 21);

  RadioButton6.SetBounds(12, 142, 52, 17);
  RadioButton6.SetCaption("每年");
  ComboBox3.SetBounds(70, 140, 50, 200);
  Label3.SetBounds(124, 144, 0, 12);
  Label3.SetCaption("月");
  ComboBox4.SetBounds(142, 140, 50, 200);
  Label4.SetBounds(196, 144, 0, 12);
  Label4.SetCaption("日");
  DateTimePicker6.SetBounds(214, 140, 90, 21);

  RadioButton7.SetBounds(12, 168, 52, 17);
  RadioButton7.SetCaption("开机");
  Edit3.SetBounds(70, 166, 50, 21);
  Label7.SetBounds(124, 170, 0, 12);
  Label7.SetCaption("时");
  Edit4.SetBounds(142, 166, 50, 21);
  Label8.SetBounds(196, 170, 0, 12);
  Label8.SetCaption("分");
  Label9.SetBounds(230, 170, 0, 12);

  Label5.SetBounds(12, 204, 0, 12);
  Label5.SetCaption("任务类型:");
  ComboBox5.SetBounds(80, 200, 160, 240);
  Label6.SetBounds(12, 234, 0, 12);
  Label6.SetCaption(kArgumentLabelCaption);
  ComboBox6.SetBounds(80, 230, 250, 200);
  Button1.SetBounds(338, 229, 60, 23);
  Button1.SetCaption("浏览");

  Button2.SetBounds(242, 264, 75, 25);
  Button2.SetCaption("确定(&O)");
  Button3.SetBounds(323, 264, 75, 25);
  Button3.SetCaption("取消(&C)");

  const SYSTEMTIME design = DesignTime();
  for (forms::DateTimePicker* p : {&DateTimePicker1, &DateTimePicker2, &DateTimePicker3, &DateTimePicker4,
                                   &DateTimePicker5, &DateTimePicker6}) {
    p->SetValue(design);
  }
  ComboBox1.SetItems(Numbers(1, 7));
  ComboBox1.SetText("1");
  ComboBox2.SetItems(Numbers(1, 31));
  ComboBox2.SetText("1");
  ComboBox3.SetItems(Numbers(1, 12));
  ComboBox3.SetText("1");
  ComboBox4.SetItems(Numbers(1, 31));
  ComboBox4.SetText("1");
  ComboBox5.SetItems(std::vector<std::string>(std::begin(kTaskTypes), std::end(kTaskTypes)));

  Edit1.OnKeyPress = [this](char& key) { Edit1KeyPress(key); };
  Edit3.OnKeyPress = [this](char& key) { Edit3KeyPress(key); };
  Edit4.OnKeyPress = [this](char& key) { Edit4KeyPress(key); };
  ComboBox5.OnChange = [this] { ComboBox5Change(); };
  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button3.OnClick = [this] { Button3Click(); };
}

void TForm5::FormCreate() { Label9.SetCaption(UptimeLabel(GetTickCount())); }

void TForm5::ShowToday() {
  SYSTEMTIME today{};
  GetLocalTime(&today);
  DateTimePicker1.SetValue(today);
}

void TForm5::FillFromSlot() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  const LocalTime now{st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond,
                      st.wMilliseconds};
  EditorControls controls(*this);
  FillEditorFromSlot(*state_.registry, slot_, now, UserShortDateFormat(), controls);
}

void TForm5::SlotDeleted(int32_t k) {
  if (mode_ != EditorMode::Modify) return;
  if (std::optional<int32_t> moved = SlotAfterDelete(slot_, k)) {
    slot_ = *moved;
  } else {
    mode_ = EditorMode::Add;
    slot_ = 0;
  }
}

forms::RadioButton* TForm5::RadioOf(ScheduleKind kind) {
  switch (kind) {
    case ScheduleKind::Idle:
      return &RadioButton1;
    case ScheduleKind::Once:
      return &RadioButton2;
    case ScheduleKind::Daily:
      return &RadioButton3;
    case ScheduleKind::Weekly:
      return &RadioButton4;
    case ScheduleKind::Monthly:
      return &RadioButton5;
    case ScheduleKind::Yearly:
      return &RadioButton6;
    case ScheduleKind::Boot:
      return &RadioButton7;
  }
  return &RadioButton1;
}

forms::DateTimePicker* TForm5::TimePickerOf(ScheduleKind kind) {
  switch (kind) {
    case ScheduleKind::Once:
      return &DateTimePicker2;
    case ScheduleKind::Daily:
      return &DateTimePicker3;
    case ScheduleKind::Weekly:
      return &DateTimePicker4;
    case ScheduleKind::Monthly:
      return &DateTimePicker5;
    case ScheduleKind::Yearly:
      return &DateTimePicker6;
    case ScheduleKind::Idle:
    case ScheduleKind::Boot:
      break;
  }
  return nullptr;
}

EditorInput TForm5::ReadInput() {
  EditorInput in;
  for (ScheduleKind kind : kScheduleKinds) {
    if (RadioOf(kind)->Checked()) in.kind = kind;
  }
  ScheduleValues& v = in.values;
  v.idle_minutes = Edit1.Caption();
  const SYSTEMTIME date = DateTimePicker1.Value();
  v.date = {date.wYear, date.wMonth, date.wDay};
  if (in.kind) {
    if (forms::DateTimePicker* picker = TimePickerOf(*in.kind)) {
      const SYSTEMTIME t = picker->Value();
      v.hour = t.wHour;
      v.minute = t.wMinute;
    }
  }
  v.weekday = ComboBox1.Text();
  v.day = in.kind == ScheduleKind::Yearly ? ComboBox4.Text() : ComboBox2.Text();
  v.month = ComboBox3.Text();
  v.boot_hours = Edit3.Caption();
  v.boot_minutes = Edit4.Caption();
  in.type = ComboBox5.Text();
  in.argument = ComboBox6.Text();
  return in;
}

void TForm5::Edit1KeyPress(char& key) {
  if (!DigitBoxAccepts(key)) key = 0;
}

void TForm5::Edit3KeyPress(char& key) {
  if (!DigitBoxAccepts(key)) key = 0;
}

void TForm5::Edit4KeyPress(char& key) {
  if (!DigitBoxAccepts(key)) key = 0;
}

void TForm5::ComboBox5Change() {
  ComboBox6.Clear();
  ComboBox6.SetHint("");
  const TypeChange change = TypeChangeFor(ComboBox5.Text());
  if (!change.known) return;
  Label6.SetCaption(change.label);
  ComboBox6.SetItems(change.items);
  ComboBox6.SetText(change.text);
  ComboBox6.SetHint(change.hint);
}

void TForm5::Button1Click() {
  if (OpenDialog1.Execute(Handle())) ComboBox6.SetText(OpenDialog1.file_name);
}

void TForm5::Button2Click() {
  const EditorInput input = ReadInput();
  const EditorSave save =
      SaveEditorTask(*state_.registry, state_.settings, mode_, slot_, input, UserShortDateFormat());
  if (input.kind == ScheduleKind::Boot) {
    Edit3.SetCaption(save.boot_hours);
    Edit4.SetCaption(save.boot_minutes);
  }
  if (save.outcome != EditorSave::Outcome::Saved) {
    forms::ShowMessage(save.message, "提示", forms::MessageIcon::Information);
    return;
  }
  if (mode_ == EditorMode::Modify) state_.ModifyFlag = 0;
  if (TForm3* settings = TForm3::Open()) {
    settings->TaskSaved(save.slot, save.task, mode_ == EditorMode::Modify);
  }
  Close();
}

void TForm5::Button3Click() {
  state_.ModifyFlag = 0;
  Close();
}

}  // namespace morrowick
