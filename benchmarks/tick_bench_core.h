// The scheduler tick over N task slots against a bare loop that reads the same A n
// values: shared by the host benchmark (in-memory registry) and the Windows one (the
// real registry). The tasks never act: none is due, or 1 % are due with a type text of
// no type, which the dispatch passes over; so the figure is the walk and its reads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scheduler/clock.h"
#include "scheduler/dispatch.h"
#include "scheduler/monitoring.h"
#include "scheduler/tick.h"
#include "store/registry.h"
#include "store/state.h"
#include "store/store.h"
#include "system/countdown.h"
#include "system/dialup.h"
#include "system/processes.h"

namespace morrowick::bench {

struct FixedClock : Clock {
  LocalTime now{2026, 12, 5, 11, 12, 30, 5, 0};
  LocalTime Now() override { return now; }
  uint32_t TickCount() override { return 3600000; }
  uint32_t LastInputTick() override { return 3600000; }
};

struct Inert : Prompter, ShellOpener, ProcessList, DialupPort, TimerSwitch, TrayIcon, CheckMark,
               CountdownWindow, SoundPort, CountdownActions {
  void ShowPrompt(const std::string&) override {}
  void Open(const std::string&) override {}
  std::vector<ProcessEntry> Snapshot() override { return {}; }
  int32_t Terminate(uint32_t) override { return 0; }
  DialupConnections EnumerateConnections() override { return {}; }
  uint32_t HangUp(DialupHandle) override { return 0; }
  void Autodial() override {}
  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
  void Modify(TrayPicture, const std::string&) override {}
  bool Checked() const override { return true; }
  void SetChecked(bool) override {}
  void SetText(CountdownText, const std::string&) override {}
  std::string Text(CountdownText) const override { return {}; }
  void Show() override {}
  void Hide() override {}
  int32_t Position() const override { return 0; }
  void SetPosition(int32_t) override {}
  void PlaySound(const std::string&, uint32_t) override {}
  void PerformPendingAction(const std::string&) override {}
  void CloseAllPrograms() override {}
  bool enabled = true;
};

// Writes N slots into the program key: daily tasks at other minutes, and every
// hundredth one due now (when `some_due`) with a type text of no type.
inline void SeedSlots(RegistryAccessor& reg, AppState& state, int n, bool some_due, const LocalTime& now) {
  OpenProgramKey(reg);
  for (int i = 1; i <= n; ++i) {
    const bool due = some_due && i % 100 == 0;
    const int hour = due ? now.wHour : (now.wHour + 1 + i % 20) % 24;
    const std::string schedule = "每天" + std::to_string(hour) + "时" + std::to_string(now.wMinute) + "分";
    reg.WriteString(SlotValueName('A', i), schedule);
    reg.WriteString(SlotValueName('B', i), due ? "无此类型" : "提醒");
    reg.WriteString(SlotValueName('C', i), "喝水");
  }
  state.settings.TaskNum = n;
  reg.WriteInteger("TaskNum", n);
}

struct TickFigures {
  double tick_ns;  // one tick over all N slots
  double bare_ns;  // one loop of the same N reads
};

// Runs `rounds` ticks and `rounds` bare loops, interleaved, and takes the fastest of each.
inline TickFigures MeasureTick(AppState& state, FixedClock& clock, int n, int rounds,
                               const std::function<uint64_t()>& now_ns,
                               const std::function<void(int)>& bare_reads) {
  Inert inert;
  MonitoringSwitch monitoring(inert, inert, inert);
  Countdown countdown(state, CountdownPorts{inert, inert, inert, inert, inert, monitoring, inert});
  TaskDispatcher dispatcher(state, DispatchPorts{inert, inert, inert, inert, inert, inert, countdown});
  SchedulerTick tick(state, TickPorts{clock, dispatcher, inert, inert, [] { return ShortDateFormat(); }});
  TickFigures best{1e300, 1e300};
  for (int r = 0; r < rounds; ++r) {
    uint64_t t0 = now_ns();
    tick.Timer1Timer();
    uint64_t t1 = now_ns();
    bare_reads(n);
    uint64_t t2 = now_ns();
    best.tick_ns = std::min(best.tick_ns, static_cast<double>(t1 - t0));
    best.bare_ns = std::min(best.bare_ns, static_cast<double>(t2 - t1));
  }
  return best;
}

}  // namespace morrowick::bench
