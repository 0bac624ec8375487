// The resident window's main job: the scheduler tick, the task dispatch and the
// countdown, wired to the window's own controls and timers and to the system.
#pragma once

#include <windows.h>

#include "scheduler/clock_win32.h"
#include "scheduler/dispatch.h"
#include "scheduler/shell_opener_win32.h"
#include "scheduler/tick.h"
#include "system/countdown.h"
#include "system/dialup_win32.h"
#include "system/power_win32.h"
#include "system/processes_win32.h"
#include "system/sound_win32.h"
#include "system/window_list_win32.h"

namespace morrowick {

class TForm1;

// TForm1 as the countdown sees it: its title, labels, buttons, bar and visibility.
class ResidentCountdownWindow final : public CountdownWindow {
 public:
  explicit ResidentCountdownWindow(TForm1& form) : form_(form) {}
  void SetText(CountdownText which, const std::string& text) override;
  std::string Text(CountdownText which) const override;
  void Show() override;
  void Hide() override;
  int32_t Position() const override;
  void SetPosition(int32_t position) override;

 private:
  TForm1& form_;
};

// The adapters and the logic objects of the main job. The prompt windows and the
// monitoring switch are the resident window's own, shared with the tray menu.
struct MainJob {
  explicit MainJob(TForm1& form);

  ResidentCountdownWindow window;
  SoundWin32 sound;
  ClockWin32 clock;
  ShellOpenerWin32 shell;
  PowerWin32 power;
  DialupWin32 dialup;
  ProcessListWin32 processes;
  WindowListWin32 windows;
  SystemCountdownActions actions;
  Countdown countdown;
  TaskDispatcher dispatcher;
  SchedulerTick tick;
};

}  // namespace morrowick
