// Forms and controls: every form is a Win32 window class named after its form class,
// every control (labels too) a real child window, so tools can find and read them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "scheduler/timer.h"

namespace forms {

class Form;

struct Font {
  std::string name = "MS Sans Serif";
  int height = -13;
};
HFONT FontHandle(const Font& font);  // cached for the process's life

using Handler = std::function<void()>;

class Control {
 public:
  Control(Form& parent, const char* window_class, DWORD style, DWORD ex_style = 0);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Handle() const { return hwnd_; }
  int Id() const { return id_; }
  Form& Parent() const { return parent_; }

  void SetCaption(const std::string& text);
  std::string Caption() const;
  void SetBounds(int left, int top, int width, int height);
  RECT Bounds() const;  // in the parent's client coordinates
  void SetFont(const Font& font);
  void SetEnabled(bool on) { EnableWindow(hwnd_, on ? TRUE : FALSE); }
  bool Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  void SetVisible(bool on) { ShowWindow(hwnd_, on ? SW_SHOW : SW_HIDE); }
  void SetFocus() { ::SetFocus(hwnd_); }
  void SetTabOrder(int order);

  // WM_COMMAND and WM_NOTIFY codes from this control, and WM_DRAWITEM.
  virtual void Command(WORD /*code*/) {}
  virtual LRESULT Notify(NMHDR* /*header*/) { return 0; }
  virtual bool DrawItem(DRAWITEMSTRUCT* /*draw*/) { return false; }

 protected:
  Form& parent_;
  HWND hwnd_ = nullptr;
  int id_ = 0;
  Font font_;
};

class Label : public Control {
 public:
  // Auto-sized to its text on one line, without wrapping.
  explicit Label(Form& parent, bool show_accel_char = true);
  void SetCaption(const std::string& text);
  void SetAlignBottom(bool on) { align_bottom_ = on; }
  void AutoSize();
 private:
  bool align_bottom_ = false;
  bool show_accel_char_;  // "&" marks a mnemonic; else it is shown as itself
};

class Button : public Control {
 public:
  explicit Button(Form& parent);
  Handler OnClick;
  int modal_result = 0;
  void Click();
  void Command(WORD code) override;
};

// A push button with a picture: a bitmap holding two equal images side by side, the
// second one shown while the button is disabled.
class BitBtn : public Button {
 public:
  explicit BitBtn(Form& parent);
  void SetGlyph(HBITMAP bitmap, int image_count = 2);
  bool DrawItem(DRAWITEMSTRUCT* draw) override;
 private:
  HBITMAP glyph_ = nullptr;
  int images_ = 2;
};

class ProgressBar : public Control {
 public:
  explicit ProgressBar(Form& parent);
  // A maximum below the minimum 0 is refused with "%s property out of range".
  void SetMax(int32_t max);
  int32_t Max() const { return max_; }
  void SetPosition(int32_t position);
  int32_t Position() const { return position_; }
 private:
  int32_t max_ = 100;
  int32_t position_ = 0;
};

// A timer with the rules the scheduler relies on (see morrowick::TimerSwitch).
class Timer : public morrowick::TimerSwitch {
 public:
  Timer(Form& owner, UINT interval_ms, bool enabled);
  ~Timer() override;
  void SetEnabled(bool on) override;
  bool Enabled() const override { return enabled_; }
  void SetInterval(UINT ms);
  UINT Interval() const { return interval_; }
  Handler OnTimer;
  void Fire();
  UINT_PTR Id() const { return id_; }
 private:
  void Start();
  Form& owner_;
  UINT interval_;
  bool enabled_ = false;
  UINT_PTR id_;
};

class MenuItem {
 public:
  std::string caption;
  bool checked = false;
  bool separator = false;
  Handler OnClick;
  UINT id = 0;
};

class PopupMenu {
 public:
  PopupMenu() = default;
  ~PopupMenu();
  MenuItem& Add(const std::string& caption, Handler on_click = nullptr);
  MenuItem& AddSeparator();
  // Builds the menu afresh from the items (captions and check marks as they stand now),
  // tracks it at the point and runs the chosen item's handler.
  void Popup(HWND owner, int x, int y);
 private:
  std::vector<std::unique_ptr<MenuItem>> items_;
};

enum class BorderStyle { Sizeable, Single };

// Design-time properties of a form, fixed before its window is made. The defaults are
// the usual design: sizeable border, minimise box, no maximise box, centred on screen.
struct FormDesign {
  std::string caption;
  int width = 0, height = 0;  // outer size, or the client size when client_size is set
  bool client_size = false;
  BorderStyle border = BorderStyle::Sizeable;
  bool minimize_box = true;
  bool maximize_box = false;
  bool stay_on_top = false;
  bool screen_center = true;
  Font font;
};

class Form {
 public:
  Form(const char* class_name, FormDesign design);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The window exists (hidden) from the constructor on, so member controls can be made;
  // Realize runs FormCreate once the whole form is constructed (Application::CreateForm).
  void Realize();
  HWND Handle() const { return hwnd_; }
  const char* ClassName() const { return class_name_; }

  void Show();
  void Hide();
  bool Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
  // Runs FormClose; then the main form ends the program, any other form is released.
  void Close();
  void SetCaption(const std::string& text);
  std::string Caption() const;
  void BringToFront();
  const Font& DefaultFont() const { return design_.font; }

  // Enter presses the focused button or else the default one; Esc presses the cancel one.
  Button* default_button = nullptr;
  Button* cancel_button = nullptr;

  // Used by controls and timers.
  int Register(Control* control);
  UINT_PTR RegisterTimer(Timer* timer);

 protected:
  virtual void FormCreate() {}
  virtual void FormClose() {}
  // The window procedure: forms override it to watch for messages of their own and
  // call Form::WndProc for everything else.
  virtual LRESULT WndProc(UINT msg, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  void RegisterClassOnce();
  void PressEnter();
  void FocusOnActivation();

  const char* class_name_;
  FormDesign design_;
  HWND hwnd_ = nullptr;
  bool shown_once_ = false;
  bool closing_ = false;
  bool realized_ = false;
  HWND last_focus_ = nullptr;  // the control that had the focus when the form was left
  int next_id_ = 100;
  std::map<int, Control*> controls_;
  std::map<UINT_PTR, Timer*> timers_;
  friend class Application;
};

}  // namespace forms
