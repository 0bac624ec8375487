// The shutdown countdown: every power action a task asks for, and the hang-up, is
// announced in the resident window, counted down once a second with an optional
// looping warning sound, and performed at run-out or when the user acts at once.
#pragma once

#include <cstdint>
#include <string>

#include "scheduler/monitoring.h"
#include "scheduler/ports.h"
#include "scheduler/timer.h"
#include "store/state.h"

namespace morrowick {

class DialupPort;
class PowerPort;
class WindowList;

// The texts of the countdown window the logic writes and reads back.
enum class CountdownText {
  Title,    // the window's caption
  Label1,   // the instruction sentence
  Label2,   // the seconds left
  BitBtn1,  // act at once
  BitBtn2,  // cancel
};

// The resident window as the countdown sees it; abstract so the state machine runs
// without a window system.
class CountdownWindow {
 public:
  virtual ~CountdownWindow() = default;
  virtual void SetText(CountdownText which, const std::string& text) = 0;
  virtual std::string Text(CountdownText which) const = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  // The position of the progress bar PgBar1. The bar keeps it within 0 .. its maximum.
  virtual int32_t Position() const = 0;
  virtual void SetPosition(int32_t position) = 0;
};

inline constexpr uint32_t kSoundLoop = 0x20009;  // SND_FILENAME + SND_LOOP + SND_ASYNC
inline constexpr uint32_t kSoundEnd = 0;

// The warning sound: PlaySoundA with the path and the resident window's handle.
class SoundPort {
 public:
  virtual ~SoundPort() = default;
  virtual void PlaySound(const std::string& path, uint32_t flags) = 0;
};

// What the countdown hands over to the power actions.
class CountdownActions {
 public:
  virtual ~CountdownActions() = default;
  virtual void PerformPendingAction(const std::string& word) = 0;
  virtual void CloseAllPrograms() = 0;
};

// The power actions and the window sweep of the system.
class SystemCountdownActions final : public CountdownActions {
 public:
  SystemCountdownActions(PowerPort& power, DialupPort& dialup, Prompter& prompter,
                         WindowList& windows, uint32_t own_process_id)
      : power_(power), dialup_(dialup), prompter_(prompter), windows_(windows),
        own_process_id_(own_process_id) {}
  void PerformPendingAction(const std::string& word) override;
  void CloseAllPrograms() override;

 private:
  PowerPort& power_;
  DialupPort& dialup_;
  Prompter& prompter_;
  WindowList& windows_;
  uint32_t own_process_id_;
};

struct CountdownPorts {
  CountdownWindow& window;
  TimerSwitch& timer1;  // the scheduler tick
  TimerSwitch& timer2;  // the one-second countdown tick
  SoundPort& sound;
  TrayIcon& tray;
  MonitoringSwitch& monitoring;
  CountdownActions& actions;
};

// The countdown's state is the window's (shown, bar position) and Timer2's; the values
// it reads (PendingAction, tishi, soundpath, shutapp) are the process's.
class Countdown {
 public:
  Countdown(AppState& state, const CountdownPorts& ports) : state_(state), p_(ports) {}

  // Words the window for the action word: both buttons, the sentence, the title.
  void MyChangeCaption(const std::string& word);
  // Starts (or, while counting, re-words) the countdown for PendingAction; nothing
  // when it is empty. The elapsed seconds are kept.
  void StartCountdown();
  // The one-second tick; at run-out the action held by PendingAction now is performed.
  void Timer2Timer();
  // Acts at once.
  void BitBtn1Click();
  // Cancels: the tick stays off and monitoring is switched off.
  void BitBtn2Click();

 private:
  void ShowSecondsLeft();
  void EndSoundIfSet();
  // The sound ended, the bar reset, the window hidden, the tick on, the countdown tick
  // off, then the action PendingAction holds now.
  void EndAndPerform();

  AppState& state_;
  CountdownPorts p_;
};

}  // namespace morrowick
