#include "forms/form_win32.h"

#include <windowsx.h>

#include <stdexcept>

#include "forms/application_win32.h"

namespace forms {

namespace {

constexpr UINT kReleaseMessage = WM_APP + 0x100;  // posted to free closed forms later

std::string WindowText(HWND hwnd) {
  int len = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<size_t>(len) + 1, '\0');
  int got = GetWindowTextA(hwnd, text.data(), len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

}  // namespace

HFONT FontHandle(const Font& font) {
  static std::map<std::pair<std::string, int>, HFONT> cache;
  auto key = std::make_pair(font.name, font.height);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  // GB2312 for the Chinese faces so their glyphs are picked even on other locales.
  const bool chinese = static_cast<unsigned char>(font.name[0]) >= 0x80;
  HFONT h = CreateFontA(font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        chinese ? GB2312_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        font.name.c_str());
  cache[key] = h;
  return h;
}

// ---- Control ----

Control::Control(Form& parent, const char* window_class, DWORD style, DWORD ex_style)
    : parent_(parent), font_(parent.DefaultFont()) {
  id_ = parent.Register(this);
  hwnd_ = CreateWindowExA(ex_style, window_class, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                          parent.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                          App().Instance(), nullptr);
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
}

void Control::SetCaption(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }
std::string Control::Caption() const { return WindowText(hwnd_); }

void Control::SetBounds(int left, int top, int width, int height) {
  MoveWindow(hwnd_, left, top, width, height, TRUE);
}

RECT Control::Bounds() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(HWND_DESKTOP, parent_.Handle(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Control::SetFont(const Font& font) {
  font_ = font;
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), TRUE);
}

void Control::SetTabOrder(int order) {
  // Children are visited by Tab in their Z order; order 0 goes to the top.
  HWND after = HWND_TOP;
  if (order > 0) {
    HWND h = GetWindow(parent_.Handle(), GW_CHILD);
    for (int i = 0; i < order - 1 && h != nullptr; ++i) h = GetWindow(h, GW_HWNDNEXT);
    after = h != nullptr ? h : HWND_BOTTOM;
  }
  SetWindowPos(hwnd_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- Label ----

Label::Label(Form& parent, bool show_accel_char)
    : Control(parent, "STATIC", SS_LEFTNOWORDWRAP | (show_accel_char ? 0 : SS_NOPREFIX)),
      show_accel_char_(show_accel_char) {}

void Label::SetCaption(const std::string& text) {
  Control::SetCaption(text);
  AutoSize();
}

void Label::AutoSize() {
  RECT r = Bounds();
  std::string text = Caption();
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, FontHandle(font_));
  RECT calc{0, 0, 0, 0};
  // Measured the way the label draws it: with prefixes, "&&" is one "&" and "&x" an
  // underlined x.
  DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &calc,
            DT_CALCRECT | DT_SINGLELINE | (show_accel_char_ ? 0 : DT_NOPREFIX));
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  int width = text.empty() ? 0 : calc.right;
  int height = calc.bottom;
  int top = r.top;
  if (align_bottom_) top = r.bottom - height;  // keep the bottom edge where it was
  MoveWindow(hwnd_, r.left, top, width, height, TRUE);
}

// ---- Button ----

Button::Button(Form& parent) : Control(parent, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP) {}

void Button::Click() {
  if (!Enabled()) return;
  if (OnClick) Guarded(OnClick);
}

void Button::Command(WORD code) {
  if (code == BN_CLICKED) Click();
}

BitBtn::BitBtn(Form& parent) : Button(parent) {
  SetWindowLongA(hwnd_, GWL_STYLE, (GetWindowLongA(hwnd_, GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW);
}

void BitBtn::SetGlyph(HBITMAP bitmap, int image_count) {
  glyph_ = bitmap;
  images_ = image_count < 1 ? 1 : image_count;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

bool BitBtn::DrawItem(DRAWITEMSTRUCT* d) {
  HDC dc = d->hDC;
  RECT r = d->rcItem;
  const bool pressed = (d->itemState & ODS_SELECTED) != 0;
  const bool disabled = (d->itemState & ODS_DISABLED) != 0;
  const bool focused = (d->itemState & ODS_FOCUS) != 0;
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

  std::string text = Caption();
  HGDIOBJ old_font = SelectObject(dc, FontHandle(font_));
  RECT tr{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), -1, &tr, DT_CALCRECT | DT_SINGLELINE);
  BITMAP bm{};
  int gw = 0, gh = 0;
  if (glyph_ != nullptr && GetObjectA(glyph_, sizeof(bm), &bm) != 0) {
    gw = bm.bmWidth / images_;
    gh = bm.bmHeight;
  }
  const int spacing = gw > 0 ? 4 : 0;
  const int total = gw + spacing + tr.right;
  int x = r.left + (r.right - r.left - total) / 2 + (pressed ? 1 : 0);
  int y_mid = (r.top + r.bottom) / 2 + (pressed ? 1 : 0);

  if (gw > 0) {
    // The bottom-left pixel's colour is the glyph's transparent colour.
    HDC src = CreateCompatibleDC(dc);
    HGDIOBJ old_bmp = SelectObject(src, glyph_);
    const int index = (disabled && images_ > 1) ? 1 : 0;
    const int sx = index * gw;
    COLORREF transparent = GetPixel(src, sx, gh - 1);
    HBITMAP mask = CreateBitmap(gw, gh, 1, 1, nullptr);
    HDC mdc = CreateCompatibleDC(dc);
    HGDIOBJ old_mask = SelectObject(mdc, mask);
    SetBkColor(src, transparent);
    BitBlt(mdc, 0, 0, gw, gh, src, sx, 0, SRCCOPY);  // 1 where transparent
    const int gy = y_mid - gh / 2;
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, gy, gw, gh, src, sx, 0, SRCINVERT);
    BitBlt(dc, x, gy, gw, gh, mdc, 0, 0, SRCAND);
    BitBlt(dc, x, gy, gw, gh, src, sx, 0, SRCINVERT);
    SelectObject(mdc, old_mask);
    DeleteDC(mdc);
    DeleteObject(mask);
    SelectObject(src, old_bmp);
    DeleteDC(src);
  }
  RECT text_rect{x + gw + spacing, y_mid - tr.bottom / 2, x + total, y_mid - tr.bottom / 2 + tr.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawTextA(dc, text.c_str(), -1, &text_rect, DT_SINGLELINE);
  SelectObject(dc, old_font);
  if (focused) {
    RECT fr = r;
    InflateRect(&fr, -4, -4);
    DrawFocusRect(dc, &fr);
  }
  return true;
}

// ---- ProgressBar ----

ProgressBar::ProgressBar(Form& parent) : Control(parent, PROGRESS_CLASSA, 0) {
  SendMessageA(hwnd_, PBM_SETRANGE32, 0, max_);
}

void ProgressBar::SetMax(int32_t max) {
  if (max < 0) throw std::runtime_error("Max property out of range");
  max_ = max;
  if (position_ > max_) position_ = max_;
  SendMessageA(hwnd_, PBM_SETRANGE32, 0, max_);
  SendMessageA(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void ProgressBar::SetPosition(int32_t position) {
  if (position < 0) position = 0;
  if (position > max_) position = max_;
  position_ = position;
  SendMessageA(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

// ---- Timer ----

Timer::Timer(Form& owner, UINT interval_ms, bool enabled)
    : owner_(owner), interval_(interval_ms), id_(owner.RegisterTimer(this)) {
  SetEnabled(enabled);
}

Timer::~Timer() {
  if (enabled_) KillTimer(owner_.Handle(), id_);
}

void Timer::Start() { SetTimer(owner_.Handle(), id_, interval_, nullptr); }

void Timer::SetEnabled(bool on) {
  if (on == enabled_) return;  // enabling an enabled timer changes nothing
  enabled_ = on;
  if (on) {
    Start();  // a fresh interval
  } else {
    KillTimer(owner_.Handle(), id_);
    // A tick already queued for this timer is dropped by Fire (enabled_ is false).
  }
}

void Timer::SetInterval(UINT ms) {
  interval_ = ms;
  if (enabled_) Start();
}

void Timer::Fire() {
  if (enabled_ && OnTimer) Guarded(OnTimer);
}

// ---- PopupMenu ----

PopupMenu::~PopupMenu() = default;

MenuItem& PopupMenu::Add(const std::string& caption, Handler on_click) {
  auto item = std::make_unique<MenuItem>();
  item->caption = caption;
  item->OnClick = std::move(on_click);
  item->id = static_cast<UINT>(items_.size() + 1);
  items_.push_back(std::move(item));
  return *items_.back();
}

MenuItem& PopupMenu::AddSeparator() {
  MenuItem& item = Add("-");
  item.separator = true;
  return item;
}

void PopupMenu::Popup(HWND owner, int x, int y) {
  HMENU menu = CreatePopupMenu();
  for (const auto& item : items_) {
    if (item->separator) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu, MF_STRING | (item->checked ? MF_CHECKED : MF_UNCHECKED), item->id,
                  item->caption.c_str());
    }
  }
  UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
      menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, owner, nullptr));
  DestroyMenu(menu);
  // Lets the menu close properly when the user clicks elsewhere next time.
  PostMessageA(owner, WM_NULL, 0, 0);
  if (chosen >= 1 && chosen <= items_.size()) {
    MenuItem& item = *items_[chosen - 1];
    if (item.OnClick) Guarded(item.OnClick);
  }
}

// ---- Form ----

Form::Form(const char* class_name, FormDesign design) : class_name_(class_name), design_(std::move(design)) {
  RegisterClassOnce();
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (design_.border == BorderStyle::Sizeable) style |= WS_THICKFRAME;
  if (design_.minimize_box) style |= WS_MINIMIZEBOX;
  if (design_.maximize_box) style |= WS_MAXIMIZEBOX;
  DWORD ex_style = WS_EX_CONTROLPARENT | (design_.stay_on_top ? WS_EX_TOPMOST : 0);
  int w = design_.width, h = design_.height;
  if (design_.client_size) {
    RECT r{0, 0, w, h};
    AdjustWindowRectEx(&r, style, FALSE, ex_style);
    w = r.right - r.left;
    h = r.bottom - r.top;
  }
  hwnd_ = CreateWindowExA(ex_style, class_name_, design_.caption.c_str(), style, CW_USEDEFAULT,
                          CW_USEDEFAULT, w, h, nullptr, nullptr, App().Instance(), this);
}

Form::~Form() {
  timers_.clear();
  if (hwnd_ != nullptr && IsWindow(hwnd_)) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Form::RegisterClassOnce() {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(App().Instance(), class_name_, &wc)) return;
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Form::StaticWndProc;
  wc.hInstance = App().Instance();
  wc.hIcon = LoadIconA(App().Instance(), "MAINICON");
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = class_name_;
  RegisterClassExA(&wc);
}

void Form::Realize() {
  realized_ = true;
  Guarded([this] { FormCreate(); });
}

int Form::Register(Control* control) {
  int id = next_id_++;
  controls_[id] = control;
  return id;
}

UINT_PTR Form::RegisterTimer(Timer* timer) {
  UINT_PTR id = timers_.size() + 1;
  timers_[id] = timer;
  return id;
}

void Form::Show() {
  if (!shown_once_ && design_.screen_center) {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  shown_once_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
}

void Form::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void Form::BringToFront() {
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void Form::SetCaption(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }
std::string Form::Caption() const { return WindowText(hwnd_); }

void Form::Close() {
  if (closing_) return;
  closing_ = true;
  Guarded([this] { FormClose(); });
  if (App().MainForm() == this) {
    DestroyWindow(hwnd_);
    App().Terminate();
  } else {
    Hide();
    App().Release(this);
  }
}

// As a dialog does: a form that becomes active gives the focus back to the control
// that had it, or else to its first control in tab order, so Enter and Space reach a
// button without a click first.
void Form::FocusOnActivation() {
  if (last_focus_ != nullptr && IsWindow(last_focus_) && IsChild(hwnd_, last_focus_) &&
      IsWindowVisible(last_focus_) && IsWindowEnabled(last_focus_)) {
    ::SetFocus(last_focus_);
    return;
  }
  HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  ::SetFocus(first != nullptr ? first : hwnd_);
}

void Form::PressEnter() {
  HWND focus = GetFocus();
  for (auto& [id, control] : controls_) {
    if (control->Handle() == focus) {
      if (auto* button = dynamic_cast<Button*>(control)) {
        button->Click();
        return;
      }
    }
  }
  if (default_button != nullptr) default_button->Click();
}

LRESULT CALLBACK Form::StaticWndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    reinterpret_cast<Form*>(cs->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, msg, wparam, lparam);
  LRESULT result = 0;
  Guarded([&] {
    // Until the derived form is fully built only the base procedure may run.
    result = self->realized_ ? self->WndProc(msg, wparam, lparam) : self->Form::WndProc(msg, wparam, lparam);
  });
  return result;
}

LRESULT Form::WndProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const WORD code = HIWORD(wparam);
      if (lparam == 0 || id == IDOK || id == IDCANCEL) {
        // Keys routed by the dialog manager: Enter comes as IDOK, Esc as IDCANCEL.
        if (id == IDOK) {
          PressEnter();
          return 0;
        }
        if (id == IDCANCEL) {
          if (cancel_button != nullptr) cancel_button->Click();
          return 0;
        }
      }
      auto it = controls_.find(id);
      if (it != controls_.end()) it->second->Command(code);
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      auto it = controls_.find(static_cast<int>(header->idFrom));
      if (it != controls_.end()) return it->second->Notify(header);
      break;
    }
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
      auto it = controls_.find(static_cast<int>(draw->CtlID));
      if (it != controls_.end() && it->second->DrawItem(draw)) return TRUE;
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) last_focus_ = focus;
      } else if (IsWindowVisible(hwnd_) && HIWORD(wparam) == 0) {  // shown and not minimised
        FocusOnActivation();
        return 0;
      }
      break;
    case DM_GETDEFID:
      // No default id: the dialog manager then sends IDOK and PressEnter decides.
      return 0;
    case WM_TIMER: {
      auto it = timers_.find(wparam);
      if (it != timers_.end()) it->second->Fire();
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case kReleaseMessage:
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wparam, lparam);
}

}  // namespace forms
