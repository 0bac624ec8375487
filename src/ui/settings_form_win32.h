// TForm3, the settings window: the task list with Add, Modify and Delete, and the four
// options, stored by OK. One is open at a time; the scheduler tick is off while it is
// open and on again when it closes. Destroyed when closed.
#pragma once

#include <cstdint>

#include "forms/controls_win32.h"
#include "forms/form_win32.h"
#include "scheduler/timer.h"
#include "store/state.h"
#include "store/store.h"

namespace morrowick {

class TForm3 : public forms::Form {
 public:
  // tick: the scheduler's Timer1; countdown_bar: the countdown's PgBar1, whose maximum
  // follows the countdown length.
  TForm3(AppState& state, TimerSwitch& tick, forms::ProgressBar& countdown_bar);

  // The settings window that is open, or null.
  static TForm3* Open();

  // Fills the list and the options from the store (and the sound path from memory).
  void LoadFromStore();
  // An editor stored a task: in modify mode the slot's old row goes; the task's row is
  // appended at the end.
  void TaskSaved(int32_t slot, const TaskTexts& task, bool replaced);

  forms::ListView ListView1;
  forms::Button Button4;  // 添加
  forms::Button Button5;  // 修改
  forms::Button Button6;  // 删除
  forms::CheckBox CheckBox2;
  forms::Label Label10;
  forms::Edit Edit8;
  forms::Button Button3;  // browse for the sound
  forms::Label Label8;
  forms::Edit Edit5;
  forms::Label Label9;
  forms::CheckBox CheckBox5;
  forms::Button Button1;  // OK
  forms::Button Button2;  // Cancel
  forms::OpenDialog OpenDialog1;

  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void Edit5KeyPress(char& key);

 protected:
  void FormCreate() override;
  void FormClose() override;

 private:
  void AddRow(int32_t slot, const TaskTexts& task);
  int RowOfSlot(int32_t slot) const;

  forms::Hint CheckBox5Hint;
  forms::Hint Button1Hint;
  AppState& state_;
  TimerSwitch& tick_;
  forms::ProgressBar& countdown_bar_;
};

}  // namespace morrowick
