#include "simulation_support.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "civil_calendar.h"
#include "store/store.h"

namespace morrowick::testing {

namespace {

const std::string kKey = MemoryRegistry::KeyName(RootKey::LocalMachine, kProgramKeyPath);

std::string Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%x", v);
  return buf;
}

}  // namespace

// ---- the fakes of the outside world, each writing to the simulation's log ----

struct Simulation::Recorder {
  struct Tray : TrayIcon {
    Simulation& sim;
    explicit Tray(Simulation& s) : sim(s) {}
    void Modify(TrayPicture picture, const std::string& tip) override {
      sim.Record(std::string("tray ") + (picture == TrayPicture::Enabled ? "ENASHUT " : "DISSHUT ") + tip);
    }
  };
  struct Prompts : Prompter {
    Simulation& sim;
    explicit Prompts(Simulation& s) : sim(s) {}
    void ShowPrompt(const std::string& text) override { sim.Record("prompt " + text); }
  };
  struct Shell : ShellOpener {
    Simulation& sim;
    explicit Shell(Simulation& s) : sim(s) {}
    void Open(const std::string& target) override { sim.Record("open " + target); }
  };
  struct Processes : ProcessList {
    Simulation& sim;
    explicit Processes(Simulation& s) : sim(s) {}
    std::vector<ProcessEntry> Snapshot() override {
      std::vector<ProcessEntry> out;
      for (const SimProcess& p : sim.processes) out.push_back({p.id, p.exe});
      return out;
    }
    int32_t Terminate(uint32_t id) override {
      auto it = std::find_if(sim.processes.begin(), sim.processes.end(),
                             [id](const SimProcess& p) { return p.id == id; });
      if (it == sim.processes.end()) return 0;
      sim.Record("terminate " + it->exe);
      sim.processes.erase(it);
      return 1;
    }
  };
  struct Dialup : DialupPort {
    Simulation& sim;
    explicit Dialup(Simulation& s) : sim(s) {}
    DialupConnections EnumerateConnections() override {
      return {0, sim.dialup_connections, sim.dialup_connections > 0 ? DialupHandle{0x51} : 0};
    }
    uint32_t HangUp(DialupHandle connection) override {
      sim.Record("hangup " + Hex(static_cast<uint32_t>(connection)));
      if (sim.dialup_connections > 0) --sim.dialup_connections;
      return 0;
    }
    void Autodial() override { sim.Record("autodial"); }
  };
  struct Power : PowerPort {
    Simulation& sim;
    explicit Power(Simulation& s) : sim(s) {}
    void ExitWindowsEx(uint32_t flags) override {
      sim.Record("power ExitWindowsEx(" + std::to_string(flags) + ")");
    }
    void SetSystemPowerState(bool suspend, bool force) override {
      sim.Record("power SetSystemPowerState(" + std::to_string(suspend) + "," + std::to_string(force) + ")");
    }
    void NtShutdownSystem(uint32_t action) override {
      sim.Record("power NtShutdownSystem(" + std::to_string(action) + ")");
    }
  };
  // Other programs' windows, all visible, unowned and titled; the program's own
  // windows are not among them.
  struct Windows : WindowList {
    Simulation& sim;
    explicit Windows(Simulation& s) : sim(s) {}
    void ForEachTopLevel(const std::function<void(WindowHandle)>& visit) override {
      const std::vector<uint32_t> windows = sim.other_windows;
      for (uint32_t w : windows) visit(w);
    }
    bool IsVisible(WindowHandle) override { return true; }
    bool IsIconic(WindowHandle) override { return false; }
    WindowHandle Owner(WindowHandle) override { return 0; }
    WindowHandle DesktopWindow() override { return 1; }
    uint32_t ExStyle(WindowHandle) override { return 0; }
    uint32_t ProcessId(WindowHandle) override { return 2000; }
    int TitleLength(WindowHandle) override { return 5; }
    void PostClose(WindowHandle w) override { sim.Record("close " + Hex(static_cast<uint32_t>(w))); }
  };
  struct Sound : SoundPort {
    Simulation& sim;
    explicit Sound(Simulation& s) : sim(s) {}
    void PlaySound(const std::string& path, uint32_t flags) override {
      sim.Record("sound " + Hex(flags) + " " + path);
    }
  };

  explicit Recorder(Simulation& s)
      : tray(s), prompts(s), shell(s), processes(s), dialup(s), power(s), windows(s), sound(s) {}
  Tray tray;
  Prompts prompts;
  Shell shell;
  Processes processes;
  Dialup dialup;
  Power power;
  Windows windows;
  Sound sound;
};

// ---- clock ----

LocalTime VirtualClock::Now() {
  const int64_t ms = start_ms + now_ms;
  const int64_t day = ms / (1440 * kMinuteMs);
  const int64_t in_day = ms % (1440 * kMinuteMs);
  const civil::Date date = civil::FromDayNumber(day);
  LocalTime t;
  t.wYear = static_cast<uint16_t>(date.year);
  t.wMonth = static_cast<uint16_t>(date.month);
  t.wDay = static_cast<uint16_t>(date.day);
  t.wDayOfWeek = static_cast<uint16_t>(civil::Weekday(day));
  t.wHour = static_cast<uint16_t>(in_day / (60 * kMinuteMs));
  t.wMinute = static_cast<uint16_t>(in_day / kMinuteMs % 60);
  t.wSecond = static_cast<uint16_t>(in_day / kSecond % 60);
  t.wMilliseconds = static_cast<uint16_t>(in_day % kSecond);
  return t;
}

LocalTime DateTime(int year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                   unsigned second) {
  VirtualClock c;
  c.start_ms = (civil::DayNumber(year, month, day) * 1440 + hour * 60 + minute) * kMinuteMs + second * kSecond;
  return c.Now();
}

// ---- timers ----

SimTimer::SimTimer(Simulation& sim, int64_t interval_ms, bool enabled) : sim_(sim), interval_(interval_ms) {
  SetEnabled(enabled);
}

void SimTimer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (on) {
    due_ = sim_.clock.now_ms + interval_;
    armed_ = sim_.NextArming();
  }
}

// ---- window ----

std::string SimWindow::Text(CountdownText which) const {
  auto it = texts.find(which);
  return it == texts.end() ? std::string() : it->second;
}

void SimWindow::Show() {
  shown = true;
  sim_.Record("show " + Text(CountdownText::Title));
}

void SimWindow::Hide() {
  shown = false;
  sim_.Record("hide");
}

// ---- the simulation ----

Simulation::Simulation(LocalTime start, uint32_t uptime_ms)
    : Timer1(*this, 10 * kSecond, true),
      Timer2(*this, 1 * kSecond, true),
      Timer3(*this, 60 * kSecond, false),
      window(*this),
      rec_(std::make_unique<Recorder>(*this)),
      monitoring(n1, Timer1, rec_->tray),
      actions(rec_->power, rec_->dialup, rec_->prompts, rec_->windows, 1000),
      countdown(state, CountdownPorts{window, Timer1, Timer2, rec_->sound, rec_->tray, monitoring, actions}),
      dispatcher(state, DispatchPorts{rec_->prompts, rec_->shell, rec_->processes, rec_->dialup, Timer1,
                                      Timer3, countdown}),
      tick(state, TickPorts{clock, dispatcher, Timer1, Timer3, [] { return ShortDateFormat(kFixedShortDatePicture); }}) {
  clock.start_ms = (civil::DayNumber(start.wYear, start.wMonth, start.wDay) * 1440 + start.wHour * 60 +
                    start.wMinute) * kMinuteMs + start.wSecond * kSecond + start.wMilliseconds;
  clock.boot_tick = uptime_ms;
  clock.last_input_tick = uptime_ms;
  Timer1.OnTimer = [this] {
    ++timer1_ticks;
    tick.Timer1Timer();
  };
  Timer2.OnTimer = [this] { countdown.Timer2Timer(); };
  Timer3.OnTimer = [this] { tick.Timer3Timer(); };
}

Simulation::~Simulation() = default;

void Simulation::Setting(const std::string& name, int32_t value) {
  registry.PutDword(kKey, name, static_cast<uint32_t>(value));
}

void Simulation::Setting(const std::string& name, const std::string& text) {
  registry.PutString(kKey, name, text);
}

void Simulation::Tasks(const std::vector<TaskTexts>& tasks) {
  Setting("TaskNum", static_cast<int32_t>(tasks.size()));
  for (size_t i = 0; i < tasks.size(); ++i) {
    const auto n = static_cast<int32_t>(i + 1);
    registry.PutString(kKey, SlotValueName('A', n), tasks[i].schedule);
    registry.PutString(kKey, SlotValueName('B', n), tasks[i].type);
    registry.PutString(kKey, SlotValueName('C', n), tasks[i].argument);
  }
}

void Simulation::Start() {
  Timer2.SetEnabled(false);
  state.settings = Settings{};
  state.registry = &registry;
  LoadSettings(registry, state.settings);
  window.max = state.settings.tishi;
}

void Simulation::Handle(const std::function<void()>& handler) {
  // The form library's handler wrapper: a failure is reported and the program goes on.
  try {
    handler();
  } catch (const std::exception& e) {
    Record(std::string("error ") + e.what());
  }
}

void Simulation::RunUntil(int64_t ms) {
  for (;;) {
    SimTimer* next = nullptr;
    for (SimTimer* t : {&Timer1, &Timer2, &Timer3}) {
      if (!t->enabled_ || t->due_ > ms) continue;
      if (next == nullptr || t->due_ < next->due_ || (t->due_ == next->due_ && t->armed_ < next->armed_)) next = t;
    }
    if (next == nullptr) break;
    clock.now_ms = next->due_;
    next->due_ += next->interval_;
    if (next->OnTimer) Handle(next->OnTimer);
  }
  if (ms > clock.now_ms) clock.now_ms = ms;
}

void Simulation::RunTo(int hour, int minute, int second) {
  const LocalTime now = clock.Now();
  const int64_t today = (now.wHour * 3600 + now.wMinute * 60 + now.wSecond) * kSecond + now.wMilliseconds;
  const int64_t target = (hour * 3600 + minute * 60 + second) * kSecond;
  if (target < today) throw std::logic_error("RunTo: that time of day has passed");
  RunUntil(clock.now_ms + (target - today));
}

std::string Simulation::Stamp() {
  const LocalTime t = clock.Now();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02u:%02u:%02u ", unsigned{t.wHour}, unsigned{t.wMinute}, unsigned{t.wSecond});
  return buf;
}

std::vector<std::string> Simulation::Entries(const std::string& kind) const {
  std::vector<std::string> out;
  for (const std::string& e : log) {
    if (e.compare(9, kind.size(), kind) == 0) out.push_back(e);
  }
  return out;
}

std::vector<std::string> Simulation::Times(const std::string& kind) const {
  std::vector<std::string> out;
  for (const std::string& e : Entries(kind)) out.push_back(e.substr(0, 8));
  return out;
}

}  // namespace morrowick::testing
