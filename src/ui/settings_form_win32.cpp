#include "ui/settings_form_win32.h"

#include <string>

#include "forms/application_win32.h"
#include "store/convert.h"
#include "system/program_name.h"
#include "ui/editor_form_win32.h"
#include "ui/settings_text.h"

namespace morrowick {

namespace {

const forms::FormDesign kSettingsDesign{.caption = "设置", .width = 458, .height = 349, .client_size = true,
                                        .border = forms::BorderStyle::Single, .font = {"宋体", -12}};

}  // namespace

TForm3::TForm3(AppState& state, TimerSwitch& tick, forms::ProgressBar& countdown_bar)
    : forms::Form("TForm3", kSettingsDesign),
      ListView1(*this),
      Button4(*this),
      Button5(*this),
      Button6(*this),
      CheckBox2(*this),
      Label10(*this),
      Edit8(*this),
      Button3(*this),
      Label8(*this),
      Edit5(*this),
      Label9(*this),
      CheckBox5(*this),
      Button1(*this),
      Button2(*this),
      CheckBox5Hint(CheckBox5),
      Button1Hint(Button1),
      state_(state),
      tick_(tick),
      countdown_bar_(countdown_bar) {
  ListView1.SetBounds(2, 2, 454, 196);
  ListView1.AddColumn("序号", 40);
  ListView1.AddColumn("时间", 120);
  ListView1.AddColumn("任务", 90);
  ListView1.AddColumn("任务属性", 200);

  Button4.SetBounds(8, 206, 75, 25);
  Button4.SetCaption("添加(&A)");
  Button5.SetBounds(91, 206, 75, 25);
  Button5.SetCaption("修改(&M)");
  Button6.SetBounds(174, 206, 75, 25);
  Button6.SetCaption("删除(&D)");

  CheckBox2.SetBounds(8, 242, 220, 17);
  CheckBox2.SetCaption("开机启动Morrowick(&S)");

  Label10.SetBounds(8, 270, 0, 12);
  Label10.SetCaption("关机前声音提示:");
  Edit8.SetBounds(112, 266, 300, 21);
  Button3.SetBounds(418, 266, 32, 21);
  Button3.SetCaption(".....");

  Label8.SetBounds(8, 298, 0, 12);
  Label8.SetCaption("关机前等待:");
  Edit5.SetBounds(112, 294, 60, 21);
  Label9.SetBounds(178, 298, 0, 12);
  Label9.SetCaption("分钟");
  CheckBox5.SetBounds(230, 296, 200, 17);
  CheckBox5.SetCaption("待机前关闭所有程序(&P)");
  CheckBox5Hint.SetText("待机休眠前关闭应用程序");

  Button1.SetBounds(294, 318, 75, 25);
  Button1.SetCaption("确定(&O)");
  Button1Hint.SetText("仅对本机设置");
  Button2.SetBounds(375, 318, 75, 25);
  Button2.SetCaption("取消(&C)");
  default_button = &Button2;

  OpenDialog1.filter = "wav文件(*.wav)|*.wav";
  OpenDialog1.title = "声音提示选择";

  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button3.OnClick = [this] { Button3Click(); };
  Button4.OnClick = [this] { Button4Click(); };
  Button5.OnClick = [this] { Button5Click(); };
  Button6.OnClick = [this] { Button6Click(); };
  Edit5.OnKeyPress = [this](char& key) { Edit5KeyPress(key); };
}

TForm3* TForm3::Open() {
  // A closed window is hidden at once and destroyed a moment later.
  for (TForm3* form : forms::App().FormsOf<TForm3>()) {
    if (form->Visible()) return form;
  }
  return nullptr;
}

void TForm3::FormCreate() { state_.ModifyFlag = 0; }

void TForm3::FormClose() { tick_.SetEnabled(true); }

void TForm3::LoadFromStore() {
  RegistryAccessor& reg = *state_.registry;
  for (const TaskRow& row : ReadTaskRows(reg, state_.settings)) AddRow(row.slot, row.texts);
  Edit5.SetCaption(MinutesText(reg.ReadInteger("tishi"), UserDecimalSeparator()));
  CheckBox5.SetChecked(reg.ReadInteger("shutapp") != 0);
  Edit8.SetCaption(state_.settings.soundpath);
  CheckBox2.SetChecked(ReadAutostart(reg, forms::App().ExeName()));
}

void TForm3::AddRow(int32_t slot, const TaskTexts& task) {
  ListView1.AddRow({std::to_string(slot), task.schedule, task.type, task.argument});
}

int TForm3::RowOfSlot(int32_t slot) const {
  const std::string caption = std::to_string(slot);
  for (int row = 0; row < ListView1.RowCount(); ++row) {
    if (ListView1.Text(row, 0) == caption) return row;
  }
  return -1;
}

void TForm3::TaskSaved(int32_t slot, const TaskTexts& task, bool replaced) {
  if (replaced) {
    const int row = RowOfSlot(slot);
    if (row >= 0) ListView1.DeleteRow(row);
  }
  AddRow(slot, task);
}

void TForm3::Button1Click() {
  const std::optional<int32_t> seconds = CountdownSeconds(Edit5.Caption(), UserDecimalSeparator());
  if (!seconds) {
    forms::ShowMessage(kCountdownRangeMessage, "错误", forms::MessageIcon::Error);
    return;
  }
  state_.settings.tishi = *seconds;
  countdown_bar_.SetMax(*seconds);
  Options options;
  options.tishi = *seconds;
  options.soundpath = Edit8.Caption();
  options.shutapp = CheckBox5.Checked();
  options.autostart = CheckBox2.Checked();
  SaveOptions(*state_.registry, state_.settings, options, forms::App().ExeName());
  Close();
}

void TForm3::Button2Click() { Close(); }

void TForm3::Button3Click() {
  const std::string exe = forms::App().ExeName();
  OpenDialog1.initial_dir = exe.substr(0, exe.size() - FileNamePart(exe).size());
  if (OpenDialog1.Execute(Handle())) Edit8.SetCaption(OpenDialog1.file_name);
}

void TForm3::Button4Click() {
  TForm5& editor = forms::App().CreateForm<TForm5>(state_, EditorMode::Add, 0);
  editor.Show();
  editor.ShowToday();
  state_.ModifyFlag = 0;
}

void TForm3::Button5Click() {
  const int row = ListView1.Selected();
  if (row < 0) {
    forms::ShowMessage("请选择要修改的任务", "错误", forms::MessageIcon::Error);
    return;
  }
  const int32_t slot = ToInteger(ListView1.Text(row, 0));
  TForm5& editor = forms::App().CreateForm<TForm5>(state_, EditorMode::Modify, slot);
  editor.Show();
  editor.FillFromSlot();  // a text that does not read back stops here, with the error report
  state_.ModifyFlag = -1;
}

void TForm3::Button6Click() {
  const int selected = ListView1.Selected();
  if (selected < 0) {
    forms::ShowMessage("请选择要删除的任务", "错误", forms::MessageIcon::Error);
    return;
  }
  const int32_t k = ToInteger(ListView1.Text(selected, 0));
  if (!DeleteTask(*state_.registry, state_.settings, k)) return;
  for (int row = 0; row < ListView1.RowCount(); ++row) {
    if (row == selected) continue;
    const int32_t slot = ToInteger(ListView1.Text(row, 0));
    if (std::optional<int32_t> moved = SlotAfterDelete(slot, k); moved && *moved != slot) {
      ListView1.SetText(row, 0, std::to_string(*moved));
    }
  }
  ListView1.DeleteRow(selected);
  // Editors opened by Modify hold a slot number: it follows its task down.
  for (TForm5* editor : forms::App().FormsOf<TForm5>()) editor->SlotDeleted(k);
}

void TForm3::Edit5KeyPress(char& key) {
  if (!CountdownBoxAccepts(key)) key = 0;
}

}  // namespace morrowick
