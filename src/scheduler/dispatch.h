// Carrying out a due task slot: four task types act at once and pause the scheduler
// tick for a minute; the eight others are handed to the countdown as an action word.
#pragma once

#include <cstdint>
#include <string>

#include "scheduler/ports.h"
#include "scheduler/timer.h"
#include "store/state.h"

namespace morrowick {

class Countdown;
class DialupPort;
class ProcessList;

// The twelve task type texts stored in B n, in the order the task editor lists them.
inline constexpr const char* kTaskTypes[] = {
    "提醒",       "打开文件",   "关闭程序",   "断开拨号",   "拨号连接", "注销计算机",
    "待机计算机", "休眠计算机", "重启计算机", "关闭计算机", "快速重启", "快速关机",
};
inline constexpr int kTaskTypeCount = sizeof(kTaskTypes) / sizeof(kTaskTypes[0]);

// The action word a countdown type sets PendingAction to ("关闭计算机" -> "关机"), or
// null for the immediate types and for a text of no type. Exact, whole-text comparison.
const char* CountdownWordOf(const std::string& type);

struct DispatchPorts {
  Prompter& prompter;
  ShellOpener& shell;
  ProcessList& processes;
  DialupPort& dialup;
  TimerSwitch& timer1;  // the scheduler tick
  TimerSwitch& timer3;  // the end of the one-minute pause
  Countdown& countdown;
};

class TaskDispatcher {
 public:
  TaskDispatcher(AppState& state, const DispatchPorts& ports) : state_(state), p_(ports) {}

  // Carries out slot n's task, reading B n (and C n where the type uses it) through
  // the key the caller has open. A read failure propagates to the caller.
  void DispatchTask(int32_t slot);

 private:
  void Pause();

  AppState& state_;
  DispatchPorts p_;
};

}  // namespace morrowick
