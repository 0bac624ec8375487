#include "forms/controls_win32.h"

#include <commdlg.h>

#include "forms/application_win32.h"
#include "system/system_library_win32.h"

namespace forms {

namespace {

constexpr UINT_PTR kEditSubclassId = 1;

std::string ComboItemText(HWND combo, int index) {
  const LRESULT len = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (len == CB_ERR) return {};
  std::string text(static_cast<size_t>(len) + 1, '\0');
  const LRESULT got = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

}  // namespace

void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
  UINT flags = MB_OK;
  switch (icon) {
    case MessageIcon::Information:
      flags |= MB_ICONINFORMATION;
      break;
    case MessageIcon::Warning:
      flags |= MB_ICONWARNING;
      break;
    case MessageIcon::Error:
      flags |= MB_ICONERROR;
      break;
  }
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags);
}

// ---- Hint ----

Hint::Hint(Control& control) : control_(control) {}

Hint::~Hint() {
  if (tooltip_ != nullptr && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

void Hint::AddTool(HWND tool) {
  TOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = control_.Parent().Handle();
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = const_cast<char*>(text_.c_str());
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  tools_.push_back(tool);
}

void Hint::SetText(const std::string& text) {
  text_ = text;
  if (tooltip_ == nullptr) {
    if (text_.empty()) return;
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, control_.Parent().Handle(), nullptr,
                               App().Instance(), nullptr);
    AddTool(control_.Handle());
    // The children take the mouse over their part of the control (a combo box's edit).
    for (HWND child = GetWindow(control_.Handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      AddTool(child);
    }
    return;
  }
  for (HWND tool : tools_) {
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = control_.Parent().Handle();
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text_.c_str());
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  }
}

// ---- Edit ----

Edit::Edit(Form& parent)
    : Control(parent, "EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE) {
  SetWindowSubclass(hwnd_, &Edit::SubclassProc, kEditSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

Edit::~Edit() {
  if (IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, &Edit::SubclassProc, kEditSubclassId);
}

LRESULT CALLBACK Edit::SubclassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                    DWORD_PTR self) {
  auto* edit = reinterpret_cast<Edit*>(self);
  if (msg == WM_CHAR && edit->OnKeyPress) {
    char key = static_cast<char>(wparam);
    Guarded([&] { edit->OnKeyPress(key); });
    if (key == 0) return 0;
    wparam = static_cast<unsigned char>(key);
  }
  return DefSubclassProc(hwnd, msg, wparam, lparam);
}

// ---- ComboBox ----

ComboBox::ComboBox(Form& parent)
    : Control(parent, "COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP) {}

void ComboBox::SetItems(const std::vector<std::string>& items) {
  SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
}

std::vector<std::string> ComboBox::Items() const {
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(hwnd_, CB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) items.push_back(ComboItemText(hwnd_, i));
  return items;
}

void ComboBox::Clear() {
  setting_ = true;
  SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
  SetWindowTextA(hwnd_, "");
  setting_ = false;
}

void ComboBox::SetText(const std::string& text) {
  setting_ = true;
  SetWindowTextA(hwnd_, text.c_str());
  setting_ = false;
}

void ComboBox::SetHint(const std::string& text) {
  if (!hint_) hint_ = std::make_unique<Hint>(*this);
  hint_->SetText(text);
}

std::string ComboBox::HintText() const { return hint_ ? hint_->Text() : std::string(); }

void ComboBox::Command(WORD code) {
  if (setting_) return;
  if (code == CBN_SELCHANGE) {
    // The edit still shows the old text at this point: the picked item becomes the text.
    const LRESULT index = SendMessageA(hwnd_, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    SetText(ComboItemText(hwnd_, static_cast<int>(index)));
    if (OnChange) Guarded(OnChange);
  } else if (code == CBN_EDITCHANGE) {
    if (OnChange) Guarded(OnChange);
  }
}

// ---- RadioButton ----

void RadioGroup::Check(RadioButton* button) {
  for (RadioButton* member : members_) member->SetState(member == button);
}

RadioButton* RadioGroup::Checked() const {
  for (RadioButton* member : members_) {
    if (member->Checked()) return member;
  }
  return nullptr;
}

RadioButton::RadioButton(Form& parent, RadioGroup& group)
    : Control(parent, "BUTTON", BS_RADIOBUTTON | WS_TABSTOP), group_(group) {
  group_.Add(this);
}

bool RadioButton::Checked() const { return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void RadioButton::SetState(bool on) {
  SendMessageA(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void RadioButton::SetChecked(bool on) {
  if (on) {
    group_.Check(this);
  } else {
    SetState(false);
  }
}

void RadioButton::Command(WORD code) {
  if (code != BN_CLICKED) return;
  SetChecked(true);
  if (OnClick) Guarded(OnClick);
}

// ---- CheckBox ----

CheckBox::CheckBox(Form& parent) : Control(parent, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP) {}

bool CheckBox::Checked() const { return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool on) {
  SendMessageA(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// ---- DateTimePicker ----

DateTimePicker::DateTimePicker(Form& parent, Kind kind)
    : Control(parent, DATETIMEPICK_CLASSA,
              (kind == Kind::Date ? DTS_SHORTDATEFORMAT : DTS_TIMEFORMAT) | WS_TABSTOP) {}

SYSTEMTIME DateTimePicker::Value() const {
  SYSTEMTIME value{};
  SendMessageA(hwnd_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value));
  return value;
}

void DateTimePicker::SetValue(const SYSTEMTIME& value) {
  SYSTEMTIME v = value;
  SendMessageA(hwnd_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&v));
}

// ---- ListView ----

ListView::ListView(Form& parent)
    : Control(parent, WC_LISTVIEWA, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
              WS_EX_CLIENTEDGE) {
  SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void ListView::AddColumn(const std::string& caption, int width) {
  std::string text = caption;
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.cx = width;
  column.pszText = text.data();
  column.iSubItem = columns_;
  SendMessageA(hwnd_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(columns_), reinterpret_cast<LPARAM>(&column));
  ++columns_;
}

int ListView::AddRow(const std::vector<std::string>& texts) {
  std::string caption = texts.empty() ? std::string() : texts[0];
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = RowCount();
  item.pszText = caption.data();
  const int row = static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return row;
  for (size_t i = 1; i < texts.size(); ++i) SetText(row, static_cast<int>(i), texts[i]);
  return row;
}

int ListView::RowCount() const { return static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }

std::string ListView::Text(int row, int column) const {
  for (size_t size = 256;; size *= 2) {
    std::string text(size, '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(size);
    const LRESULT len = SendMessageA(hwnd_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(&item));
    if (len < 0) return {};
    if (static_cast<size_t>(len) + 1 < size || size >= (1u << 20)) {
      text.resize(static_cast<size_t>(len));
      return text;
    }
  }
}

void ListView::SetText(int row, int column, const std::string& text) {
  std::string copy = text;
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = copy.data();
  SendMessageA(hwnd_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListView::DeleteRow(int row) { SendMessageA(hwnd_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }

int ListView::Selected() const {
  return static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// ---- OpenDialog ----

bool OpenDialog::Execute(HWND owner) {
  // comdlg32 is not loaded into every process: it comes from the system directory only.
  morrowick::SystemLibrary comdlg("comdlg32.dll");
  auto get_open_file_name = comdlg.Function<BOOL(WINAPI*)(LPOPENFILENAMEA)>("GetOpenFileNameA");
  if (get_open_file_name == nullptr) return false;

  // "a|b|c|d" becomes "a\0b\0c\0d\0\0".
  std::string filter_pairs = filter;
  for (char& c : filter_pairs) {
    if (c == '|') c = '\0';
  }
  filter_pairs.append(2, '\0');
  std::string file(MAX_PATH * 4, '\0');

  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.empty() ? nullptr : filter_pairs.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initial_dir.empty() ? nullptr : initial_dir.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
  if (!get_open_file_name(&ofn)) return false;
  file_name.assign(file.c_str());
  return true;
}

}  // namespace forms
