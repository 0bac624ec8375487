// TForm1, the resident window: hidden at start, owner of the three timers, the tray
// icon and its menu, and, when a countdown runs, the countdown window itself.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "forms/application_win32.h"
#include "forms/form_win32.h"
#include "scheduler/monitoring.h"
#include "scheduler/ports.h"
#include "store/state.h"
#include "ui/prompt_form_win32.h"

namespace morrowick {

class Win32Registry;
struct MainJob;  // the tick, the dispatch and the countdown: resident_countdown_win32.cpp

// The tray icon record in its first, 88-byte layout.
struct TrayIconRecord {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[64];
};
static_assert(sizeof(TrayIconRecord) == 88, "the tray record is 88 bytes");
static_assert(offsetof(TrayIconRecord, szTip) == 24, "szTip follows hIcon");

constexpr UINT kTrayMessage = WM_USER + 1;  // 1025
constexpr UINT kTrayIconId = 100;

// The check mark of a menu item, as the monitoring switch reads and sets it. The item
// is made with the menu, after this adapter, hence the reference to the pointer.
class MenuItemCheckMark : public CheckMark {
 public:
  explicit MenuItemCheckMark(forms::MenuItem*& item) : item_(item) {}
  bool Checked() const override { return item_->checked; }
  void SetChecked(bool on) override { item_->checked = on; }

 private:
  forms::MenuItem*& item_;
};

class TForm1 : public forms::Form, public TrayIcon {
 public:
  TForm1();
  ~TForm1() override;

  // Components, named as designed.
  forms::Label Label1;
  forms::Label Label2;
  forms::ProgressBar PgBar1;
  forms::BitBtn BitBtn1;
  forms::BitBtn BitBtn2;
  // Scheduler tick, 10 s, on. Everything but the monitoring switch starts and stops it
  // through its TimerSwitch alone, which leaves the check mark of n1, the icon and the
  // tip as they are: they change only in N1Click.
  forms::Timer Timer1;
  forms::Timer Timer2;  // countdown tick, 1 s, off
  forms::Timer Timer3;  // end of the one-minute pause, 60 s, off
  forms::PopupMenu PopupMenu1;
  forms::MenuItem* n1 = nullptr;  // "启用监控(&E)": its check mark is the monitoring state
  forms::MenuItem* n4 = nullptr;
  forms::MenuItem* n6 = nullptr;

  // Process-wide state, owned here and passed by reference to the logic.
  AppState state;
  TrayIconRecord TrayIconData{};
  // The one prompt the logic shows reminders and hang-up results in.
  PromptWindows prompts;
  // The user's on/off for the scheduler: n1's check mark, Timer1 and the tray picture.
  MenuItemCheckMark n1Mark{n1};
  MonitoringSwitch monitoring{n1Mark, Timer1, *this};

  // The tick, the dispatch and the countdown with their adapters. Made on first use;
  // shared_ptr because MainJob is complete only in its own file.
  MainJob& Job();

  // TrayIcon: writes picture and tip into the record and sends it with NIM_MODIFY.
  void Modify(TrayPicture picture, const std::string& tip) override;

  // Handlers.
  void N1Click();
  void n4Click();
  void n6Click();
  void n7Click();
  void n8Click();
  void n9Click();
  void n10Click();
  void n11Click();
  void n12Click();
  void n13Click();
  void n15Click();
  void n16Click();
  void n17Click();
  void n18Click();
  void n19Click();
  void N20Click();
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();
  void BitBtn1Click();
  void BitBtn2Click();

 protected:
  void FormCreate() override;
  void FormClose() override;
  LRESULT WndProc(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void BuildMenu();
  void TrayIconMessage(WPARAM wparam, LPARAM lparam);
  void EnableShutdownPrivilege();

  std::shared_ptr<MainJob> main_job_;

  std::unique_ptr<Win32Registry> registry_;
  UINT taskbar_created_ = 0;
};

}  // namespace morrowick
