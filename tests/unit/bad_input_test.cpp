// Every stored value in every bad form it can take after an outside edit of the
// registry: the wrong type, a text without its terminating NUL, a text of 1 MiB, bytes
// that are no GBK, and no value at all. Each is run through the path that reads it:
// start-up, the scheduler tick with the dispatch, or the settings window's fill and OK.
// Each case gives the exact error text of the accessor or the conversion, or a sound
// behaviour; the program goes on (further ticks still run and report); and the store
// holds afterwards exactly what it held before, apart from the values the path itself
// writes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <optional>

#include "simulation_support.h"
#include "store/convert.h"
#include "store/store.h"
#include "ui/settings_text.h"

namespace morrowick::testing {
namespace {

using Lines = std::vector<std::string>;

const std::string kKey = MemoryRegistry::KeyName(RootKey::LocalMachine, kProgramKeyPath);
const std::string kRun = MemoryRegistry::KeyName(RootKey::LocalMachine, kRunKeyPath);
const std::string kExe = "C:\\Tools\\Morrowick.exe";
constexpr size_t kMiB = 1u << 20;

// ---- stored forms ----
std::optional<RawValue> Raw(uint32_t type, const std::string& bytes) {
  return RawValue{type, std::vector<uint8_t>(bytes.begin(), bytes.end())};
}
std::optional<RawValue> Sz(const std::string& text) { return Raw(kRegSz, text + '\0'); }
std::optional<RawValue> NoNul(const std::string& text) { return Raw(kRegSz, text); }
std::optional<RawValue> Dword(uint32_t v) {
  std::string bytes(4, '\0');
  std::memcpy(bytes.data(), &v, 4);
  return Raw(kRegDword, bytes);
}
const std::optional<RawValue> kMissing = std::nullopt;

const std::string kNonGbk = "\x80\xFF\xFE\x81";  // 0x80 and 0xFF lead no GBK character

std::string Long(const std::string& head = "") { return head + std::string(kMiB - head.size(), 'x'); }

// ---- where the bad value is met ----
enum class Stage {
  StartUp,       // present before the program starts
  Tick,          // present before start-up; the tick and the dispatch read it
  SettingsOpen,  // written while the program runs, then the settings window opened and cancelled
  SettingsOk,    // the same, then the window's OK with new options
};

struct Case {
  std::string label;
  Stage stage;
  std::string value;                // in the program key, or "Pellidor" under the Run key
  std::optional<RawValue> stored;   // nullopt: the value is missing
  Lines log;                        // everything the core did, up to 12:00:30
  std::map<std::string, std::optional<RawValue>> writes = {};  // what the path itself writes
};

// The store every case starts from: two tasks due at 12:00, a reminder and a shutdown.
void SeedStore(Simulation& sim) {
  sim.Setting("shutapp", 0);
  sim.Setting("soundpath", "C:\\warn.wav");
  sim.Setting("tishi", 30);
  sim.Tasks({{"每天12时0分", "提醒", "喝水"}, {"每天12时0分", "关闭计算机", ""}});
  sim.registry.PutString(kRun, kAutostartValue, kExe);
  sim.registry.PutString(kRun, "Other", "C:\\other.exe");
}

void Inject(Simulation& sim, const Case& c) {
  const std::string key = c.value == kAutostartValue ? kRun : kKey;
  if (c.stored) {
    sim.registry.Put(key, c.value, *c.stored);
  } else {
    sim.registry.Put(key, c.value, RawValue{});  // makes sure the key exists, then drops the value
    sim.registry.SetRootKey(RootKey::LocalMachine);
    sim.registry.OpenKey(key.substr(4), false);  // "\\Software\\..." behind "HKLM"
    sim.registry.DeleteValue(c.value);
    sim.registry.CloseKey();
  }
}

using Snapshot = std::map<std::string, std::pair<uint32_t, std::vector<uint8_t>>>;

Snapshot Take(const MemoryRegistry& reg) {
  Snapshot s;
  for (const std::string& key : {kKey, kRun}) {
    for (const std::string& name : reg.ValueNames(key)) {
      const RawValue v = *reg.Get(key, name);
      s[(key == kRun ? "Run\\" : "") + name] = {v.type, v.data};
    }
  }
  return s;
}

// The form library's handler wrapper: a failure stops the handler and is reported.
void Handled(Simulation& sim, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    sim.Record(std::string("error ") + e.what());
  }
}

// The settings window as the tray menu opens it: the tick off, the key opened, the list,
// the countdown length, the check boxes and the sound box filled from the store (the
// sound path from memory), in the window's order.
void OpenSettings(Simulation& sim) {
  sim.Timer1.SetEnabled(false);
  Handled(sim, [&] {
    RegistryAccessor& reg = *sim.state.registry;
    OpenProgramKey(reg);
    const std::vector<TaskRow> rows = ReadTaskRows(reg, sim.state.settings);
    const std::string minutes = MinutesText(reg.ReadInteger("tishi"), '.');
    const bool shutapp = reg.ReadInteger("shutapp") != 0;
    const bool autostart = ReadAutostart(reg, kExe);
    sim.Record("fill rows=" + std::to_string(rows.size()) + " tishi=" + minutes +
               " shutapp=" + std::to_string(shutapp) + " sound=" + sim.state.settings.soundpath +
               " autostart=" + std::to_string(autostart));
  });
}

void CloseSettings(Simulation& sim) { sim.Timer1.SetEnabled(true); }

// OK with two minutes, the same sound path, shutapp and autostart on.
void OkSettings(Simulation& sim) {
  Handled(sim, [&] {
    Options options;
    options.tishi = 120;
    options.soundpath = sim.state.settings.soundpath;
    options.shutapp = true;
    options.autostart = true;
    sim.state.settings.tishi = options.tishi;
    SaveOptions(*sim.state.registry, sim.state.settings, options, kExe);
    CloseSettings(sim);
  });
}

std::string Error(const std::string& text, const std::string& at) { return at + " error " + text; }

// What the store's two due tasks do at the first tick when nothing is wrong.
Lines Normal(const std::string& at, const std::string& prompt = "喝水", const std::string& sound = "C:\\warn.wav") {
  return {at + " prompt " + prompt, at + " show Windows 正在准备关机...", at + " sound 0x20009 " + sound};
}
// The shutdown in slot 2 alone.
Lines Shutdown(const std::string& at) { return {at + " show Windows 正在准备关机...", at + " sound 0x20009 C:\\warn.wav"}; }
Lines Concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// The same failure at every tick of the half minute.
Lines EveryTick(const std::string& text, const std::vector<std::string>& at) {
  Lines out;
  for (const std::string& t : at) out.push_back(Error(text, t));
  return out;
}
const std::vector<std::string> kTicks = {"12:00:05", "12:00:15", "12:00:25"};
const std::vector<std::string> kTicksAfterSettings = {"12:00:07", "12:00:17", "12:00:27"};
const std::string kFill = "11:59:56 fill rows=2 tishi=0.5 shutapp=0 sound=C:\\warn.wav autostart=";

std::vector<Case> Cases() {
  const std::string due = "每天12时0分";
  std::vector<Case> cases = {
      // ---- start-up: the four settings ----
      {"ShutappAsText", Stage::StartUp, "shutapp", Sz("1"), {Error(InvalidDataTypeText("shutapp"), "11:59:55")}},
      {"ShutappTextWithoutNul", Stage::StartUp, "shutapp", NoNul("1"), {Error(InvalidDataTypeText("shutapp"), "11:59:55")}},
      {"ShutappLongText", Stage::StartUp, "shutapp", Sz(Long()), {Error(InvalidDataTypeText("shutapp"), "11:59:55")}},
      {"ShutappNonGbkText", Stage::StartUp, "shutapp", Sz(kNonGbk), {Error(InvalidDataTypeText("shutapp"), "11:59:55")}},
      {"ShutappBinary", Stage::StartUp, "shutapp", Raw(kRegBinary, std::string(4, '\0')),
       {Error(InvalidDataTypeText("shutapp"), "11:59:55")}},
      {"ShutappDwordOfTwoBytes", Stage::StartUp, "shutapp", Raw(kRegDword, std::string(2, '\1')),
       {Error(FailedToGetText("shutapp"), "11:59:55")}},
      {"ShutappMissing", Stage::StartUp, "shutapp", kMissing, Normal("12:00:05"), {{"shutapp", Dword(0)}}},
      {"SoundpathAsDword", Stage::StartUp, "soundpath", Dword(1), {Error(InvalidDataTypeText("soundpath"), "11:59:55")}},
      {"SoundpathMultiSz", Stage::StartUp, "soundpath", Raw(kRegMultiSz, std::string("C:\\warn.wav\0\0", 13)),
       {Error(InvalidDataTypeText("soundpath"), "11:59:55")}},
      {"SoundpathWithoutNul", Stage::StartUp, "soundpath", NoNul("C:\\warn.wav"), Normal("12:00:05")},
      {"SoundpathExpandSz", Stage::StartUp, "soundpath", Raw(kRegExpandSz, std::string("C:\\warn.wav\0", 12)),
       Normal("12:00:05")},
      {"SoundpathLongText", Stage::StartUp, "soundpath", Sz(Long("C:\\")), Normal("12:00:05", "喝水", Long("C:\\"))},
      {"SoundpathNonGbk", Stage::StartUp, "soundpath", Sz("C:\\" + kNonGbk + ".wav"),
       Normal("12:00:05", "喝水", "C:\\" + kNonGbk + ".wav")},
      // No sound path: the countdown makes no sound.
      {"SoundpathMissing", Stage::StartUp, "soundpath", kMissing,
       {"12:00:05 prompt 喝水", "12:00:05 show Windows 正在准备关机..."}, {{"soundpath", Sz("")}}},
      {"TishiAsText", Stage::StartUp, "tishi", Sz("30"), {Error(InvalidDataTypeText("tishi"), "11:59:55")}},
      {"TishiTextWithoutNul", Stage::StartUp, "tishi", NoNul("30"), {Error(InvalidDataTypeText("tishi"), "11:59:55")}},
      {"TishiLongText", Stage::StartUp, "tishi", Sz(Long()), {Error(InvalidDataTypeText("tishi"), "11:59:55")}},
      {"TishiNonGbk", Stage::StartUp, "tishi", Sz(kNonGbk), {Error(InvalidDataTypeText("tishi"), "11:59:55")}},
      {"TishiMissing", Stage::StartUp, "tishi", kMissing, Normal("12:00:05"), {{"tishi", Dword(60)}}},
      // A failed start-up leaves TaskNum at 0 in memory: the tick runs on and visits nothing.
      {"TaskNumAsText", Stage::StartUp, "TaskNum", Sz("2"), {Error(InvalidDataTypeText("TaskNum"), "11:59:55")}},
      {"TaskNumTextWithoutNul", Stage::StartUp, "TaskNum", NoNul("2"), {Error(InvalidDataTypeText("TaskNum"), "11:59:55")}},
      {"TaskNumLongText", Stage::StartUp, "TaskNum", Sz(Long()), {Error(InvalidDataTypeText("TaskNum"), "11:59:55")}},
      {"TaskNumNonGbk", Stage::StartUp, "TaskNum", Sz(kNonGbk), {Error(InvalidDataTypeText("TaskNum"), "11:59:55")}},
      {"TaskNumBinary", Stage::StartUp, "TaskNum", Raw(kRegBinary, std::string("\2\0\0\0", 4)),
       {Error(InvalidDataTypeText("TaskNum"), "11:59:55")}},
      {"TaskNumDwordOfEightBytes", Stage::StartUp, "TaskNum", Raw(kRegDword, std::string("\2\0\0\0\0\0\0\0", 8)),
       {Error(FailedToGetText("TaskNum"), "11:59:55")}},
      {"TaskNumMissing", Stage::StartUp, "TaskNum", kMissing, {}, {{"TaskNum", Dword(0)}}},

      // ---- the tick and the dispatch: the slot values ----
      // A failure ends the tick at its slot, at every tick: the later slot never runs.
      {"A1AsDword", Stage::Tick, "A1", Dword(1), EveryTick(InvalidDataTypeText("A1"), kTicks)},
      {"A1Binary", Stage::Tick, "A1", Raw(kRegBinary, due), EveryTick(InvalidDataTypeText("A1"), kTicks)},
      {"A1MultiSz", Stage::Tick, "A1", Raw(kRegMultiSz, due + std::string(2, '\0')),
       EveryTick(InvalidDataTypeText("A1"), kTicks)},
      {"A1ExpandSz", Stage::Tick, "A1", Raw(kRegExpandSz, due + '\0'), Normal("12:00:05")},
      {"A1WithoutNul", Stage::Tick, "A1", NoNul(due), Normal("12:00:05")},
      // The text is read whole; what follows the minute is not looked at.
      {"A1LongDueText", Stage::Tick, "A1", Sz(Long(due)), Normal("12:00:05")},
      // A text of no kind is not due; the next slot runs.
      {"A1LongTextOfNoKind", Stage::Tick, "A1", Sz(Long()), Shutdown("12:00:05")},
      {"A1NonGbkOfNoKind", Stage::Tick, "A1", Sz(kNonGbk + due), Shutdown("12:00:05")},
      {"A1NonGbkHour", Stage::Tick, "A1", Sz("每天\xFF时0分"), EveryTick(InvalidIntegerText("\xFF"), kTicks)},
      // A minute unit cut after its first byte still ends the minute field.
      {"A1UnitCutInHalf", Stage::Tick, "A1", Sz("每天12时0\xB7"), Normal("12:00:05")},
      {"A1Missing", Stage::Tick, "A1", kMissing, Shutdown("12:00:05")},
      // The reminder's pause switched the tick off before slot 2 failed: one report.
      {"A2AsDword", Stage::Tick, "A2", Dword(1), {"12:00:05 prompt 喝水", Error(InvalidDataTypeText("A2"), "12:00:05")}},
      {"B1AsDword", Stage::Tick, "B1", Dword(1), EveryTick(InvalidDataTypeText("B1"), kTicks)},
      {"B1WithoutNul", Stage::Tick, "B1", NoNul("提醒"), Normal("12:00:05")},
      // A type text of no type does nothing; the shutdown in slot 2 runs.
      {"B1LongText", Stage::Tick, "B1", Sz(Long("提醒")), Shutdown("12:00:05")},
      {"B1NonGbk", Stage::Tick, "B1", Sz(kNonGbk), Shutdown("12:00:05")},
      {"B1Missing", Stage::Tick, "B1", kMissing, Shutdown("12:00:05")},
      {"B2AsDword", Stage::Tick, "B2", Dword(1), {"12:00:05 prompt 喝水", Error(InvalidDataTypeText("B2"), "12:00:05")}},
      {"C1AsDword", Stage::Tick, "C1", Dword(1), EveryTick(InvalidDataTypeText("C1"), kTicks)},
      {"C1WithoutNul", Stage::Tick, "C1", NoNul("喝水"), Normal("12:00:05")},
      {"C1LongText", Stage::Tick, "C1", Sz(Long("喝水")), Normal("12:00:05", Long("喝水"))},
      {"C1NonGbk", Stage::Tick, "C1", Sz(kNonGbk), Normal("12:00:05", kNonGbk)},
      {"C1Missing", Stage::Tick, "C1", kMissing, Normal("12:00:05", "")},
      // A shutdown never reads its argument, whatever it holds.
      {"C2AsDword", Stage::Tick, "C2", Dword(1), Normal("12:00:05")},

      // ---- the settings window ----
      {"A1AsDwordInTheList", Stage::SettingsOpen, "A1", Dword(1),
       Concat({Error(InvalidDataTypeText("A1"), "11:59:56")}, EveryTick(InvalidDataTypeText("A1"), kTicksAfterSettings))},
      {"B1AsDwordInTheList", Stage::SettingsOpen, "B1", Dword(1),
       Concat({Error(InvalidDataTypeText("B1"), "11:59:56")}, EveryTick(InvalidDataTypeText("B1"), kTicksAfterSettings))},
      {"C2AsDwordInTheList", Stage::SettingsOpen, "C2", Dword(1),
       Concat({Error(InvalidDataTypeText("C2"), "11:59:56")}, Normal("12:00:07"))},
      {"C1LongTextInTheList", Stage::SettingsOpen, "C1", Sz(Long()),
       Concat({kFill + "1"}, Normal("12:00:07", Long()))},
      {"TishiAsTextInTheWindow", Stage::SettingsOpen, "tishi", Sz("30"),
       Concat({Error(InvalidDataTypeText("tishi"), "11:59:56")}, Normal("12:00:07"))},
      {"TishiMissingInTheWindow", Stage::SettingsOpen, "tishi", kMissing,
       Concat({Error(FailedToGetText("tishi"), "11:59:56")}, Normal("12:00:07"))},
      {"ShutappNonGbkTextInTheWindow", Stage::SettingsOpen, "shutapp", Sz(kNonGbk),
       Concat({Error(InvalidDataTypeText("shutapp"), "11:59:56")}, Normal("12:00:07"))},
      {"ShutappMissingInTheWindow", Stage::SettingsOpen, "shutapp", kMissing,
       Concat({Error(FailedToGetText("shutapp"), "11:59:56")}, Normal("12:00:07"))},
      // The sound box shows the path held in memory; the stored value is not read.
      {"SoundpathAsDwordInTheWindow", Stage::SettingsOpen, "soundpath", Dword(1),
       Concat({kFill + "1"}, Normal("12:00:07"))},
      {"PellidorAsDword", Stage::SettingsOpen, "Pellidor", Dword(1),
       Concat({Error(InvalidDataTypeText("Pellidor"), "11:59:56")}, Normal("12:00:07"))},
      {"PellidorWithoutNul", Stage::SettingsOpen, "Pellidor", NoNul(kExe), Concat({kFill + "1"}, Normal("12:00:07"))},
      {"PellidorExpandSz", Stage::SettingsOpen, "Pellidor", Raw(kRegExpandSz, kExe + '\0'),
       Concat({kFill + "1"}, Normal("12:00:07"))},
      {"PellidorLongText", Stage::SettingsOpen, "Pellidor", Sz(Long(kExe)), Concat({kFill + "0"}, Normal("12:00:07"))},
      {"PellidorNonGbk", Stage::SettingsOpen, "Pellidor", Sz(kExe + kNonGbk), Concat({kFill + "0"}, Normal("12:00:07"))},
      {"PellidorMissing", Stage::SettingsOpen, "Pellidor", kMissing, Concat({kFill + "0"}, Normal("12:00:07"))},
      // OK replaces an entry of any type or length with this program's path.
      {"PellidorAsDwordThenOk", Stage::SettingsOk, "Pellidor", Dword(1),
       Concat({Error(InvalidDataTypeText("Pellidor"), "11:59:56")}, Normal("12:00:07")),
       {{"tishi", Dword(120)}, {"shutapp", Dword(1)}, {"Run\\Pellidor", Sz(kExe)}}},
      {"PellidorLongTextThenOk", Stage::SettingsOk, "Pellidor", Sz(Long()),
       Concat({kFill + "0"}, Normal("12:00:07")),
       {{"tishi", Dword(120)}, {"shutapp", Dword(1)}, {"Run\\Pellidor", Sz(kExe)}}},
      {"PellidorMissingThenOk", Stage::SettingsOk, "Pellidor", kMissing, Concat({kFill + "0"}, Normal("12:00:07")),
       {{"tishi", Dword(120)}, {"shutapp", Dword(1)}, {"Run\\Pellidor", Sz(kExe)}}},
      // The unchanged sound path is not written: the stored DWORD stays as it was.
      {"SoundpathAsDwordThenOk", Stage::SettingsOk, "soundpath", Dword(1), Concat({kFill + "1"}, Normal("12:00:07")),
       {{"tishi", Dword(120)}, {"shutapp", Dword(1)}}},
      {"ShutappLongTextThenOk", Stage::SettingsOk, "shutapp", Sz(Long()),
       Concat({Error(InvalidDataTypeText("shutapp"), "11:59:56")}, Normal("12:00:07")),
       {{"tishi", Dword(120)}, {"shutapp", Dword(1)}}},
  };
  return cases;
}

class BadInput : public ::testing::TestWithParam<Case> {};

TEST_P(BadInput, GivesTheExactErrorOrASoundBehaviourAndLeavesTheRestOfTheStore) {
  const Case& c = GetParam();
  Simulation sim(DateTime(2024, 5, 6, 11, 59, 55));
  SeedStore(sim);
  const bool before_start = c.stage == Stage::StartUp || c.stage == Stage::Tick;
  if (before_start) Inject(sim, c);
  Snapshot expected = Take(sim.registry);

  Handled(sim, [&] { sim.Start(); });
  if (!before_start) {
    sim.RunTo(11, 59, 56);
    Inject(sim, c);  // an outside edit while the program runs
    expected = Take(sim.registry);
    OpenSettings(sim);
    sim.RunTo(11, 59, 57);
    if (c.stage == Stage::SettingsOk) {
      OkSettings(sim);
    } else {
      CloseSettings(sim);
    }
  }
  sim.RunTo(12, 0, 30);

  EXPECT_EQ(sim.log, c.log);
  // The failure stopped a handler, not the program: the tick still comes.
  EXPECT_GT(sim.timer1_ticks, 0);
  for (const auto& [name, value] : c.writes) {
    if (value) {
      expected[name] = {value->type, value->data};
    } else {
      expected.erase(name);
    }
  }
  const Snapshot after = Take(sim.registry);
  EXPECT_EQ(after.size(), expected.size());
  for (const auto& [name, value] : expected) {
    auto it = after.find(name);
    ASSERT_NE(it, after.end()) << name << " is gone";
    EXPECT_EQ(it->second.first, value.first) << name << " changed its type";
    EXPECT_TRUE(it->second.second == value.second) << name << " changed its data";
  }
}

INSTANTIATE_TEST_SUITE_P(StoredValues, BadInput, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.label; });

// Outside edits that leave the settings in memory as start-up found them: the tick walks
// the count held in memory, so a stored TaskNum raised or lowered while the program runs
// changes nothing until the next start.
TEST(BadInputWhileRunning, TaskNumRewrittenAsTextIsNotReadByTheTick) {
  Simulation sim(DateTime(2024, 5, 6, 11, 59, 55));
  SeedStore(sim);
  sim.Start();
  sim.registry.PutString(kKey, "TaskNum", Long());
  sim.RunTo(12, 0, 30);
  EXPECT_EQ(sim.log, Normal("12:00:05"));
}

}  // namespace
}  // namespace morrowick::testing
