#include "app/resident_win32.h"

#include "res/resource_ids.h"
#include "store/registry_win32.h"
#include "store/store.h"
#include "system/bounded_text.h"

namespace morrowick {

namespace {

// The countdown window as designed: sizeable, minimise but no maximise, on top, centred.
const forms::FormDesign kResidentDesign{.caption = "正在关闭 Windows...", .width = 410, .height = 169,
                                        .stay_on_top = true, .font = {"MS Sans Serif", -13}};

const forms::Font kSongTi{"宋体", -13};

}  // namespace

TForm1::TForm1()
    : forms::Form("TForm1", kResidentDesign),
      Label1(*this),
      Label2(*this),
      PgBar1(*this),
      BitBtn1(*this),
      BitBtn2(*this),
      Timer1(*this, 10000, true),
      Timer2(*this, 1000, true),
      Timer3(*this, 60000, false) {
  Label1.SetFont(kSongTi);
  Label1.SetBounds(16, 16, 263, 13);
  Label1.SetAlignBottom(true);
  Label1.SetCaption("要想取消关机,请按下<取消关机>按钮,剩余 :");
  Label2.SetFont(kSongTi);
  Label2.SetBounds(336, 16, 7, 13);
  Label2.SetCaption("");
  PgBar1.SetBounds(8, 56, 385, 17);
  BitBtn1.SetFont(kSongTi);
  BitBtn1.SetBounds(64, 94, 105, 25);
  BitBtn1.SetCaption("立即关机");
  BitBtn1.modal_result = IDOK;
  BitBtn1.SetGlyph(LoadBitmapA(forms::App().Instance(), kOkGlyph), kGlyphCount);
  BitBtn2.SetFont(kSongTi);
  BitBtn2.SetBounds(232, 94, 101, 25);
  BitBtn2.SetCaption("取消关机");
  BitBtn2.modal_result = IDCANCEL;
  BitBtn2.SetGlyph(LoadBitmapA(forms::App().Instance(), kCancelGlyph), kGlyphCount);
  // Tab order: BitBtn2 0, BitBtn1 1, PgBar1 2.
  BitBtn2.SetTabOrder(0);
  BitBtn1.SetTabOrder(1);
  PgBar1.SetTabOrder(2);
  default_button = &BitBtn2;
  cancel_button = &BitBtn2;
  BitBtn1.OnClick = [this] { BitBtn1Click(); };
  BitBtn2.OnClick = [this] { BitBtn2Click(); };
  Timer1.OnTimer = [this] { Timer1Timer(); };
  Timer2.OnTimer = [this] { Timer2Timer(); };
  Timer3.OnTimer = [this] { Timer3Timer(); };
  BuildMenu();
}

TForm1::~TForm1() = default;

void TForm1::BuildMenu() {
  n1 = &PopupMenu1.Add("启用监控(&E)", [this] { N1Click(); });
  n1->checked = true;
  PopupMenu1.AddSeparator();  // N2
  n4 = &PopupMenu1.Add("设置(&S)", [this] { n4Click(); });
  PopupMenu1.AddSeparator();  // N5
  n6 = &PopupMenu1.Add("注销(&L)", [this] { n6Click(); });
  PopupMenu1.Add("待机(&W)", [this] { n7Click(); });
  PopupMenu1.Add("休眠(&S)", [this] { n8Click(); });
  PopupMenu1.Add("重启(&R)", [this] { n9Click(); });
  PopupMenu1.Add("关机(&U)", [this] { n10Click(); });
  PopupMenu1.Add("打开光驱(&O)", [this] { n11Click(); });
  PopupMenu1.Add("关闭光驱(&C)", [this] { n12Click(); });
  PopupMenu1.Add("关闭显示器(&M)", [this] { n13Click(); });
  PopupMenu1.Add("快速重启(&I)", [this] { n18Click(); });
  PopupMenu1.Add("快速关机(&Q)", [this] { n19Click(); });
  PopupMenu1.AddSeparator();  // N14
  PopupMenu1.Add("软件更新(&P)", [this] { N20Click(); });
  PopupMenu1.Add("关于(&A)", [this] { n15Click(); });
  PopupMenu1.Add("帮助(&H)", [this] { n16Click(); });
  PopupMenu1.Add("退出(&X)", [this] { n17Click(); });
}

void TForm1::EnableShutdownPrivilege() {
  OSVERSIONINFOA version{};
  static_assert(sizeof(OSVERSIONINFOA) == 148, "version record of 148 bytes");
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionExA(&version);
  if (!(version.dwMajorVersion >= 5 || version.dwPlatformId == VER_PLATFORM_WIN32_NT)) return;
  HANDLE token = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
  TOKEN_PRIVILEGES privileges{};
  static_assert(sizeof(TOKEN_PRIVILEGES) == 16, "privilege record of 16 bytes");
  LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  DWORD returned = 0;
  AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), nullptr, &returned);
  // The token handle is no longer needed once the privilege is enabled.
  if (token != nullptr) CloseHandle(token);
}

void TForm1::FormCreate() {
  EnableShutdownPrivilege();
  Timer2.SetEnabled(false);
  state.settings = Settings{};
  registry_ = std::make_unique<Win32Registry>();
  state.registry = registry_.get();
  // A registry error here goes to the error report; the icon is then not added.
  LoadSettings(*registry_, state.settings);

  taskbar_created_ = RegisterWindowMessageA("TaskbarCreated");
  TrayIconData.cbSize = sizeof(TrayIconData);
  TrayIconData.hWnd = Handle();
  TrayIconData.uID = kTrayIconId;
  TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  TrayIconData.uCallbackMessage = kTrayMessage;
  TrayIconData.hIcon = LoadIconA(forms::App().Instance(), kMainIcon);
  CopyBounded(TrayIconData.szTip, kTipEnabled);
  Shell_NotifyIconA(NIM_ADD, reinterpret_cast<PNOTIFYICONDATAA>(&TrayIconData));

  PgBar1.SetMax(state.settings.tishi);

  char user[256] = {};
  DWORD size = 255;
  GetUserNameA(user, &size);
  user[sizeof(user) - 1] = '\0';
  n6->caption = n6->caption + " " + TextOfField(user);

  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm1::Modify(TrayPicture picture, const std::string& tip) {
  TrayIconData.hIcon =
      LoadIconA(forms::App().Instance(), picture == TrayPicture::Enabled ? kEnabledIcon : kDisabledIcon);
  CopyBounded(TrayIconData.szTip, tip);
  Shell_NotifyIconA(NIM_MODIFY, reinterpret_cast<PNOTIFYICONDATAA>(&TrayIconData));
}

void TForm1::FormClose() {
  Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<PNOTIFYICONDATAA>(&TrayIconData));
  state.registry = nullptr;
  registry_.reset();
}

void TForm1::TrayIconMessage(WPARAM /*wparam*/, LPARAM lparam) {
  if (lparam != WM_LBUTTONDOWN && lparam != WM_RBUTTONDOWN) return;
  SetForegroundWindow(Handle());
  POINT point{};
  GetCursorPos(&point);
  forms::App().ProcessMessages();
  PopupMenu1.Popup(Handle(), point.x, point.y);
}

LRESULT TForm1::WndProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == kTrayMessage) {
    LRESULT result = Form::WndProc(msg, wparam, lparam);
    TrayIconMessage(wparam, lparam);
    return result;
  }
  LRESULT result = Form::WndProc(msg, wparam, lparam);
  if (taskbar_created_ != 0 && msg == taskbar_created_) {
    Shell_NotifyIconA(NIM_ADD, reinterpret_cast<PNOTIFYICONDATAA>(&TrayIconData));
  }
  return result;
}

void TForm1::n17Click() { Close(); }

}  // namespace morrowick
