// TForm5, the task editor: one task's schedule, type and argument. Opened by the
// settings window's Add (empty) or Modify (filled from a slot); modeless, a new window
// each time, destroyed when closed.
#pragma once

#include <cstdint>

#include "forms/controls_win32.h"
#include "forms/form_win32.h"
#include "store/state.h"
#include "ui/task_editor.h"

namespace morrowick {

class TForm5 : public forms::Form {
 public:
  // The editor keeps its mode and, in modify mode, the slot whose task it shows, from
  // the moment it is made.
  TForm5(AppState& state, EditorMode mode, int32_t slot);

  EditorMode Mode() const { return mode_; }
  int32_t Slot() const { return slot_; }

  // Add: the date picker shows today.
  void ShowToday();
  // Modify: the controls from the editor's slot (may raise a conversion error, leaving
  // what was filled so far).
  void FillFromSlot();
  // Slot k was deleted: a higher slot moved down by one; when it was this editor's own,
  // the task is gone and OK adds the editor's task as a new one.
  void SlotDeleted(int32_t k);

  forms::RadioGroup Kinds;  // the seven radio buttons
  forms::RadioButton RadioButton1;
  forms::Edit Edit1;
  forms::Label Label1;
  forms::RadioButton RadioButton2;
  forms::DateTimePicker DateTimePicker1;
  forms::DateTimePicker DateTimePicker2;
  forms::RadioButton RadioButton3;
  forms::DateTimePicker DateTimePicker3;
  forms::RadioButton RadioButton4;
  forms::ComboBox ComboBox1;
  forms::DateTimePicker DateTimePicker4;
  forms::RadioButton RadioButton5;
  forms::ComboBox ComboBox2;
  forms::Label Label2;
  forms::DateTimePicker DateTimePicker5;
  forms::RadioButton RadioButton6;
  forms::ComboBox ComboBox3;
  forms::Label Label3;
  forms::ComboBox ComboBox4;
  forms::Label Label4;
  forms::DateTimePicker DateTimePicker6;
  forms::RadioButton RadioButton7;
  forms::Edit Edit3;
  forms::Label Label7;
  forms::Edit Edit4;
  forms::Label Label8;
  forms::Label Label9;
  forms::Label Label5;
  forms::ComboBox ComboBox5;
  forms::Label Label6;
  forms::ComboBox ComboBox6;
  forms::Button Button1;
  forms::Button Button2;
  forms::Button Button3;
  forms::OpenDialog OpenDialog1;

  void Edit1KeyPress(char& key);
  void Edit3KeyPress(char& key);
  void Edit4KeyPress(char& key);
  void ComboBox5Change();
  void Button1Click();  // 浏览
  void Button2Click();  // OK
  void Button3Click();  // Cancel

 protected:
  void FormCreate() override;

 private:
  EditorInput ReadInput();
  forms::RadioButton* RadioOf(ScheduleKind kind);
  forms::DateTimePicker* TimePickerOf(ScheduleKind kind);
  friend class EditorControls;

  AppState& state_;
  EditorMode mode_;
  int32_t slot_;
};

}  // namespace morrowick
