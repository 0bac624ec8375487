// The whole core of the program wired together as the resident window wires it, over
// the in-memory registry, a virtual clock and simulated timers, so that hours of
// scheduler ticks and countdowns run in milliseconds and timings can be checked to
// the second.
//
// Everything the core does to the outside world is written to one log, each entry
// stamped with the local time of the virtual clock: "12:00:03 prompt 喝水",
// "12:01:03 power ExitWindowsEx(12)", "12:00:13 hide".
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "scheduler/clock.h"
#include "scheduler/dispatch.h"
#include "scheduler/monitoring.h"
#include "scheduler/ports.h"
#include "scheduler/tick.h"
#include "scheduler/timer.h"
#include "store/memory_registry.h"
#include "store/state.h"
#include "store/store.h"
#include "system/countdown.h"
#include "system/dialup.h"
#include "system/power.h"
#include "system/processes.h"
#include "system/window_sweep.h"

namespace morrowick::testing {

class Simulation;

constexpr int64_t kSecond = 1000;
constexpr int64_t kMinuteMs = 60 * kSecond;

// The local time advances with the virtual milliseconds; the system's tick count too,
// from the uptime the system had when the simulation began.
class VirtualClock : public Clock {
 public:
  LocalTime Now() override;
  uint32_t TickCount() override { return static_cast<uint32_t>(boot_tick + now_ms); }
  uint32_t LastInputTick() override { return last_input_tick; }

  int64_t now_ms = 0;           // virtual milliseconds since the simulation began
  int64_t start_ms = 0;         // local time at the beginning, ms since 1970-01-01 00:00
  uint32_t boot_tick = 0;       // the tick count when the simulation began
  uint32_t last_input_tick = 0;
};

// A timer with the rules of the form library's timers: enabling an enabled timer
// changes nothing; enabling a disabled one starts its interval afresh; disabling
// discards the interval under way.
class SimTimer : public TimerSwitch {
 public:
  SimTimer(Simulation& sim, int64_t interval_ms, bool enabled);
  void SetEnabled(bool on) override;
  bool Enabled() const override { return enabled_; }

  std::function<void()> OnTimer;
  int64_t due() const { return due_; }

 private:
  friend class Simulation;
  Simulation& sim_;
  int64_t interval_;
  bool enabled_ = false;
  int64_t due_ = 0;
  uint64_t armed_ = 0;  // order of arming: of two timers due together the earlier fires first
};

class SimWindow : public CountdownWindow {
 public:
  explicit SimWindow(Simulation& sim) : sim_(sim) {}
  void SetText(CountdownText which, const std::string& text) override {
    texts[which] = text;
    written.push_back(which);
  }
  std::string Text(CountdownText which) const override;
  void Show() override;
  void Hide() override;
  int32_t Position() const override { return position; }
  void SetPosition(int32_t p) override { position = p < 0 ? 0 : (p > max ? max : p); }

  std::map<CountdownText, std::string> texts;
  std::vector<CountdownText> written;  // every SetText, in order
  bool shown = false;
  int32_t position = 0;
  int32_t max = 100;  // PgBar1's maximum, set to tishi at start-up

 private:
  Simulation& sim_;
};

class SimCheckMark : public CheckMark {
 public:
  bool Checked() const override { return checked; }
  void SetChecked(bool on) override { checked = on; }
  bool checked = true;  // n1 is checked as designed
};

// A running process of the made-up system.
struct SimProcess {
  uint32_t id;
  std::string exe;
};

class Simulation {
  uint64_t armings_ = 0;  // before the timers, which count their armings with it

 public:
  // Begins at the given local time, the system having been up `uptime_ms` already,
  // with the last input at the beginning.
  explicit Simulation(LocalTime start, uint32_t uptime_ms = 3 * 3600 * 1000);
  ~Simulation();
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;

  // ---- the store before start-up, as an outside edit would leave it ----
  void Setting(const std::string& name, int32_t value);
  void Setting(const std::string& name, const std::string& text);
  // Task slots 1.. with TaskNum set to their number.
  void Tasks(const std::vector<TaskTexts>& tasks);

  // The resident window's creation: the timers as designed (Timer1 on), Timer2 off,
  // the settings loaded, the bar's maximum set to tishi.
  void Start();

  // ---- time ----
  // Runs every timer event due up to and including `ms` (virtual ms since the
  // beginning), in time order, then leaves the clock there.
  void RunUntil(int64_t ms);
  void RunFor(int64_t ms) { RunUntil(clock.now_ms + ms); }
  // Runs until the local time of day reaches hh:mm:ss (on the first day).
  void RunTo(int hour, int minute, int second);
  // A keyboard or mouse input now.
  void Input() { clock.last_input_tick = clock.TickCount(); }

  // ---- the user ----
  void ClickBitBtn1() { Handle([this] { countdown.BitBtn1Click(); }); }
  void ClickBitBtn2() { Handle([this] { countdown.BitBtn2Click(); }); }
  void ClickN1() { Handle([this] { monitoring.N1Click(); }); }

  // ---- what happened ----
  // "hh:mm:ss " of the virtual clock's local time.
  std::string Stamp();
  void Record(const std::string& what) { log.push_back(Stamp() + what); }
  // The log entries whose text (after the stamp) begins with `kind`, e.g. "prompt".
  std::vector<std::string> Entries(const std::string& kind) const;
  // The stamps of those entries alone.
  std::vector<std::string> Times(const std::string& kind) const;
  std::vector<std::string> log;

  // ---- the core ----
  MemoryRegistry registry;
  AppState state;
  VirtualClock clock;
  SimTimer Timer1;
  SimTimer Timer2;
  SimTimer Timer3;
  SimWindow window;
  SimCheckMark n1;
  std::vector<SimProcess> processes;  // the running processes "关闭程序" ends
  std::vector<uint32_t> other_windows;  // titled, visible main windows of other programs
  uint32_t dialup_connections = 0;     // active dial-up connections
  int timer1_ticks = 0;                // Timer1 events handled

 private:
  friend class SimTimer;
  struct Recorder;
  void Handle(const std::function<void()>& handler);
  uint64_t NextArming() { return ++armings_; }
  std::unique_ptr<Recorder> rec_;

 public:
  MonitoringSwitch monitoring;
  SystemCountdownActions actions;
  Countdown countdown;
  TaskDispatcher dispatcher;
  SchedulerTick tick;
};

// The local time at the given date and time of day, its weekday worked out.
LocalTime DateTime(int year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                   unsigned second);

}  // namespace morrowick::testing
