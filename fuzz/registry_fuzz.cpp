// Puts arbitrary typed values into the in-memory registry under the program key and the
// Run key, then runs what reads them: start-up (LoadSettings), scheduler ticks with the
// dispatch and the countdown wired as the resident window wires them, the settings
// window's fill (task rows, tishi, shutapp, the autostart entry) and its OK. Only the
// accessor's and the conversions' errors may leave a step, each with its exact text;
// start-up writes nothing but the defaults of missing values; a tick, the dispatch and
// the fill write nothing at all.
//
// Input layout (missing bytes read as 0):
//   1 byte   number of values (taken modulo 24)
//   per value: 1 byte name (an index into kNames; beyond it a name of the input's own
//            bytes, of that length modulo 8), 1 byte registry type (modulo 12), 2 bytes
//            data length (little-endian, modulo 4096), the data
//   16 bytes the moment: wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond,
//            wMilliseconds, each 16-bit little-endian
//   4 bytes  tick count, 4 bytes last input tick
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "scheduler/clock.h"
#include "scheduler/dispatch.h"
#include "scheduler/monitoring.h"
#include "scheduler/tick.h"
#include "store/convert.h"
#include "store/memory_registry.h"
#include "store/store.h"
#include "system/countdown.h"
#include "system/dialup.h"
#include "system/power.h"
#include "system/processes.h"
#include "system/window_sweep.h"
#include "ui/settings_text.h"

using namespace morrowick;

namespace {

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "registry_fuzz: %s\n", what);
    std::abort();
  }
}

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint16_t U16() { return static_cast<uint16_t>(U8() | U8() << 8); }
  uint32_t U32() { return U16() | static_cast<uint32_t>(U16()) << 16; }
  std::string Bytes(size_t n) {
    n = std::min(n, size_ - pos_);
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

const char* const kNames[] = {"shutapp", "soundpath", "tishi", "TaskNum", "A1", "B1", "C1", "A2", "B2", "C2",
                              "A3",      "B3",        "C3",    "a1",      "A01", "Pellidor"};
constexpr size_t kNameCount = sizeof(kNames) / sizeof(kNames[0]);
const std::string kKey = MemoryRegistry::KeyName(RootKey::LocalMachine, kProgramKeyPath);
const std::string kRun = MemoryRegistry::KeyName(RootKey::LocalMachine, kRunKeyPath);
const std::string kExe = "C:\\Tools\\Morrowick.exe";
// The walk costs one read per slot; a count of millions would only make the run slow.
constexpr int32_t kMostSlotsWalked = 64;

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool StartsWith(const std::string& s, const std::string& head) { return s.compare(0, head.size(), head) == 0; }

// An accessor failure names one of the values the step reads.
void CheckRegistryError(const RegistryError& e) {
  const std::string m = e.what();
  for (const char* head : {"Invalid data type for '", "Failed to get data for '", "Failed to set data for '"}) {
    if (StartsWith(m, head) && EndsWith(m, "'")) return;
  }
  Require(false, "unexpected accessor failure text");
}

void CheckConvertError(const ConvertError& e) {
  const std::string m = e.what();
  Require(StartsWith(m, "'"), "conversion failure text without its quote");
  // The field may hold a NUL byte only when it came from a text cut short, which the
  // accessor never hands out: texts end at their first NUL.
  Require(EndsWith(m, "' is not a valid integer value") || EndsWith(m, "' is not a valid date"),
          "unexpected conversion failure text");
}

template <typename F>
void Step(F f) {
  try {
    f();
  } catch (const RegistryError& e) {
    CheckRegistryError(e);
  } catch (const ConvertError& e) {
    CheckConvertError(e);
  }
}

using Snapshot = std::map<std::string, std::pair<uint32_t, std::vector<uint8_t>>>;

Snapshot Take(const MemoryRegistry& reg) {
  Snapshot s;
  for (const std::string& key : {kKey, kRun}) {
    for (const std::string& name : reg.ValueNames(key)) {
      const RawValue v = *reg.Get(key, name);
      s[key + "\\" + name] = {v.type, v.data};
    }
  }
  return s;
}

// ---- the outside world, doing nothing ----
class FixedClock : public Clock {
 public:
  LocalTime now;
  uint32_t tick = 0, last_input = 0;
  LocalTime Now() override { return now; }
  uint32_t TickCount() override { return tick; }
  uint32_t LastInputTick() override { return last_input; }
};
struct Switch : TimerSwitch {
  bool on = false;
  void SetEnabled(bool v) override { on = v; }
  bool Enabled() const override { return on; }
};
struct Mark : CheckMark {
  bool checked = true;
  bool Checked() const override { return checked; }
  void SetChecked(bool v) override { checked = v; }
};
struct Window : CountdownWindow {
  std::map<CountdownText, std::string> texts;
  int32_t position = 0, max = 100;
  void SetText(CountdownText which, const std::string& text) override { texts[which] = text; }
  std::string Text(CountdownText which) const override {
    auto it = texts.find(which);
    return it == texts.end() ? std::string() : it->second;
  }
  void Show() override {}
  void Hide() override {}
  int32_t Position() const override { return position; }
  void SetPosition(int32_t p) override { position = std::clamp(p, 0, max); }
};
struct World : TrayIcon, Prompter, ShellOpener, ProcessList, DialupPort, PowerPort, WindowList, SoundPort {
  size_t prompts = 0;
  void Modify(TrayPicture, const std::string&) override {}
  void ShowPrompt(const std::string&) override { ++prompts; }
  void Open(const std::string&) override {}
  std::vector<ProcessEntry> Snapshot() override { return {{42, "APP.EXE"}}; }
  int32_t Terminate(uint32_t) override { return 1; }
  DialupConnections EnumerateConnections() override { return {0, 1, DialupHandle{0x51}}; }
  uint32_t HangUp(DialupHandle) override { return 0; }
  void Autodial() override {}
  void ExitWindowsEx(uint32_t) override {}
  void SetSystemPowerState(bool, bool) override {}
  void NtShutdownSystem(uint32_t) override {}
  void ForEachTopLevel(const std::function<void(WindowHandle)>& visit) override { visit(7); }
  bool IsVisible(WindowHandle) override { return true; }
  bool IsIconic(WindowHandle) override { return false; }
  WindowHandle Owner(WindowHandle) override { return 0; }
  WindowHandle DesktopWindow() override { return 1; }
  uint32_t ExStyle(WindowHandle) override { return 0; }
  uint32_t ProcessId(WindowHandle) override { return 2000; }
  int TitleLength(WindowHandle) override { return 5; }
  void PostClose(WindowHandle) override {}
  void PlaySound(const std::string&, uint32_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader r(data, size);
  MemoryRegistry reg;
  const int count = r.U8() % 24;
  for (int i = 0; i < count; ++i) {
    const uint8_t which = r.U8();
    const std::string name = which < kNameCount ? kNames[which] : r.Bytes(which % 8);
    RawValue v;
    v.type = r.U8() % 12;
    const std::string bytes = r.Bytes(r.U16() % 4096);
    v.data.assign(bytes.begin(), bytes.end());
    reg.Put(name == "Pellidor" ? kRun : kKey, name, std::move(v));
  }
  FixedClock clock;
  clock.now.wYear = r.U16();
  clock.now.wMonth = r.U16();
  clock.now.wDayOfWeek = r.U16();
  clock.now.wDay = r.U16();
  clock.now.wHour = r.U16();
  clock.now.wMinute = r.U16();
  clock.now.wSecond = r.U16();
  clock.now.wMilliseconds = r.U16();
  clock.tick = r.U32();
  clock.last_input = r.U32();

  // The core as the resident window wires it.
  AppState state;
  state.registry = &reg;
  World world;
  Switch timer1, timer2, timer3;
  timer1.on = true;
  Mark n1;
  Window window;
  MonitoringSwitch monitoring(n1, timer1, world);
  SystemCountdownActions actions(world, world, world, world, 1000);
  Countdown countdown(state, CountdownPorts{window, timer1, timer2, world, world, monitoring, actions});
  TaskDispatcher dispatcher(state, DispatchPorts{world, world, world, world, timer1, timer3, countdown});
  SchedulerTick tick(state, TickPorts{clock, dispatcher, timer1, timer3,
                                      [] { return ShortDateFormat(kFixedShortDatePicture); }});

  // Start-up: present values are read, missing ones get their defaults, nothing else.
  const Snapshot before = Take(reg);
  bool loaded = false;
  Step([&] {
    LoadSettings(reg, state.settings);
    loaded = true;
  });
  const Snapshot after_load = Take(reg);
  for (const auto& [name, value] : before) {
    auto it = after_load.find(name);
    Require(it != after_load.end() && it->second == value, "start-up changed a value that was present");
  }
  if (loaded) {
    auto dword = [&](const char* name) {
      const auto& v = after_load.at(kKey + "\\" + name);
      Require(v.first == kRegDword && v.second.size() == 4, "a setting read or written as no DWORD");
      int32_t value;
      std::memcpy(&value, v.second.data(), 4);
      return value;
    };
    Require(dword("shutapp") == state.settings.shutapp, "shutapp in memory differs from the store");
    Require(dword("tishi") == state.settings.tishi, "tishi in memory differs from the store");
    Require(dword("TaskNum") == state.settings.TaskNum, "TaskNum in memory differs from the store");
  }
  window.max = std::max(state.settings.tishi, 0);
  state.settings.TaskNum = std::min(state.settings.TaskNum, kMostSlotsWalked);

  // Ticks, with the countdown's seconds in between: the store is only read.
  for (int round = 0; round < 3; ++round) {
    timer1.on = true;
    Step([&] { tick.Timer1Timer(); });
    for (int s = 0; s < 3 && timer2.on; ++s) Step([&] { countdown.Timer2Timer(); });
    clock.tick += 10000;
  }
  Require(Take(reg) == after_load, "a tick wrote to the store");

  // The settings window's fill reads; its OK writes tishi, shutapp and the autostart entry.
  Step([&] {
    OpenProgramKey(reg);
    const std::vector<TaskRow> rows = ReadTaskRows(reg, state.settings);
    for (const TaskRow& row : rows) Require(!row.texts.schedule.empty(), "an empty slot got a row");
    MinutesText(reg.ReadInteger("tishi"), '.');
    reg.ReadInteger("shutapp");
    ReadAutostart(reg, kExe);
  });
  Require(Take(reg) == after_load, "the settings window's fill wrote to the store");
  Options options;
  options.tishi = 120;
  options.soundpath = state.settings.soundpath;
  options.shutapp = true;
  options.autostart = (size & 1) != 0;
  Step([&] { SaveOptions(reg, state.settings, options, kExe); });
  const std::optional<RawValue> entry = reg.Get(kRun, kAutostartValue);
  Require(options.autostart == entry.has_value(), "OK left the autostart entry as it was");
  Require(!entry || (entry->type == kRegSz && ReadAutostart(reg, kExe)), "OK wrote another entry");
  return 0;
}
