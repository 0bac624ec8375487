// The controls of the editing windows: edits with a key filter, editable drop-down
// combo boxes, radio buttons in one group, check boxes, date and time pickers, the
// report-view list, tooltips, the open-file dialog and the short message boxes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/form_win32.h"

namespace forms {

enum class MessageIcon { Information, Warning, Error };

// A message box with an OK button, the icon and the caption, owned by no window.
void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon);

// The tooltip of a control: shown while the mouse rests on it (or on a child of it,
// such as a combo box's edit). An empty text shows nothing.
class Hint {
 public:
  explicit Hint(Control& control);
  ~Hint();
  Hint(const Hint&) = delete;
  Hint& operator=(const Hint&) = delete;
  void SetText(const std::string& text);
  const std::string& Text() const { return text_; }

 private:
  void AddTool(HWND tool);
  Control& control_;
  HWND tooltip_ = nullptr;
  std::vector<HWND> tools_;
  std::string text_;
};

// A one-line edit. OnKeyPress sees every typed character code; setting it to 0
// discards the character.
class Edit : public Control {
 public:
  explicit Edit(Form& parent);
  ~Edit() override;
  std::function<void(char& key)> OnKeyPress;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR id, DWORD_PTR self);
};

// An editable drop-down combo box: the user may pick an item or type any text.
class ComboBox : public Control {
 public:
  explicit ComboBox(Form& parent);
  void SetItems(const std::vector<std::string>& items);
  std::vector<std::string> Items() const;
  // Removes the items and the text.
  void Clear();
  // Setting the text from the program does not run OnChange.
  void SetText(const std::string& text);
  std::string Text() const { return Caption(); }
  void SetHint(const std::string& text);
  std::string HintText() const;
  // Runs after every change the user makes: each keystroke, each item picked.
  Handler OnChange;
  void Command(WORD code) override;

 private:
  bool setting_ = false;
  std::unique_ptr<Hint> hint_;
};

// Radio buttons of one group: checking one unchecks the others.
class RadioButton;
class RadioGroup {
 public:
  void Add(RadioButton* button) { members_.push_back(button); }
  void Check(RadioButton* button);
  // The checked member, or null when none is.
  RadioButton* Checked() const;

 private:
  std::vector<RadioButton*> members_;
};

class RadioButton : public Control {
 public:
  RadioButton(Form& parent, RadioGroup& group);
  bool Checked() const;
  // Checking one unchecks the others of the group.
  void SetChecked(bool on);
  Handler OnClick;
  void Command(WORD code) override;

 private:
  friend class RadioGroup;
  void SetState(bool on);
  RadioGroup& group_;
};

class CheckBox : public Control {
 public:
  explicit CheckBox(Form& parent);
  bool Checked() const;
  void SetChecked(bool on);
};

// A date picker (short date) or a time picker (hours, minutes and seconds).
class DateTimePicker : public Control {
 public:
  enum class Kind { Date, Time };
  DateTimePicker(Form& parent, Kind kind);
  SYSTEMTIME Value() const;
  void SetValue(const SYSTEMTIME& value);
};

// A list in report view with grid lines and whole-row selection; at most one row is
// selected, and captions are not edited in place.
class ListView : public Control {
 public:
  explicit ListView(Form& parent);
  void AddColumn(const std::string& caption, int width);
  // Appends a row: its caption, then the texts of its further columns. Returns its index.
  int AddRow(const std::vector<std::string>& texts);
  int RowCount() const;
  std::string Text(int row, int column) const;
  void SetText(int row, int column, const std::string& text);
  void DeleteRow(int row);
  // The selected row, or -1.
  int Selected() const;

 private:
  int columns_ = 0;
};

// The system's open-file dialog.
class OpenDialog {
 public:
  std::string filter;       // pairs "description|pattern|description|pattern"; empty: none
  std::string title;        // empty: the system's own title
  std::string initial_dir;  // empty: the system's choice
  std::string file_name;    // the chosen file's full path after Execute
  // Shows the dialog modal to the owner; true when the user picked a file.
  bool Execute(HWND owner);
};

}  // namespace forms
