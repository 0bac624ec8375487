#include <gtest/gtest.h>

#include "store/memory_registry.h"
#include "store/store.h"

namespace morrowick {
namespace {

const std::string kKey = MemoryRegistry::KeyName(RootKey::LocalMachine, kProgramKeyPath);
const std::string kRun = MemoryRegistry::KeyName(RootKey::LocalMachine, kRunKeyPath);

class StoreTest : public ::testing::Test {
 protected:
  std::string Text(const std::string& name) {
    auto v = reg.Get(kKey, name);
    if (!v) return "(missing)";
    return std::string(v->data.begin(), v->data.end() - 1);
  }
  uint32_t Dword(const std::string& name) {
    auto v = reg.Get(kKey, name);
    EXPECT_TRUE(v && v->type == kRegDword) << name;
    uint32_t x = 0;
    if (v && v->data.size() == 4) memcpy(&x, v->data.data(), 4);
    return x;
  }
  void Seed(int n) {
    LoadSettings(reg, settings);
    for (int i = 1; i <= n; ++i) {
      AppendTask(reg, settings, {"S" + std::to_string(i), "T" + std::to_string(i), "C" + std::to_string(i)});
    }
    reg.log.clear();
  }
  std::vector<std::string> Slots() {
    std::vector<std::string> out;
    for (int i = 1; i <= settings.TaskNum; ++i) {
      out.push_back(Text(SlotValueName('A', i)) + "|" + Text(SlotValueName('B', i)) + "|" +
                    Text(SlotValueName('C', i)));
    }
    return out;
  }
  MemoryRegistry reg;
  Settings settings;
};

TEST_F(StoreTest, FirstStartWritesTheDefaultsUnderLocalMachineOnly) {
  settings.tishi = 5;  // LoadSettings begins from the initial values, whatever memory held
  LoadSettings(reg, settings);
  EXPECT_EQ(reg.log, (std::vector<std::string>{"write shutapp", "write soundpath", "write tishi",
                                               "write TaskNum"}));
  EXPECT_EQ(Dword("shutapp"), 0u);
  EXPECT_EQ(Text("soundpath"), "");
  EXPECT_EQ(Dword("tishi"), 60u);
  EXPECT_EQ(Dword("TaskNum"), 0u);
  EXPECT_EQ(reg.ValueNames(kKey).size(), 4u);
  EXPECT_FALSE(reg.KeyExists("HKCU\\Software\\Quorvane"));
  EXPECT_EQ(settings.tishi, 60);
  EXPECT_EQ(reg.CurrentKey(), "HKLM\\SOFTWARE\\QUORVANE\\MORROWICK");  // left open
}

TEST_F(StoreTest, StartWithAllValuesPresentWritesNothing) {
  reg.PutDword(kKey, "shutapp", 1);
  reg.PutString(kKey, "soundpath", "C:\\a.wav");
  reg.PutDword(kKey, "tishi", 90);
  reg.PutDword(kKey, "TaskNum", 3);
  LoadSettings(reg, settings);
  EXPECT_TRUE(reg.log.empty());
  EXPECT_EQ(settings.shutapp, 1);
  EXPECT_EQ(settings.soundpath, "C:\\a.wav");
  EXPECT_EQ(settings.tishi, 90);
  EXPECT_EQ(settings.TaskNum, 3);
}

TEST_F(StoreTest, PartialPresenceWritesOnlyTheMissing) {
  reg.PutDword(kKey, "tishi", 10);
  reg.PutString(kKey, "soundpath", "x.wav");
  LoadSettings(reg, settings);
  EXPECT_EQ(reg.log, (std::vector<std::string>{"write shutapp", "write TaskNum"}));
  EXPECT_EQ(settings.tishi, 10);
  EXPECT_EQ(Dword("tishi"), 10u);
  EXPECT_EQ(settings.soundpath, "x.wav");
}

TEST_F(StoreTest, LoadStopsAtAValueOfTheWrongType) {
  reg.PutString(kKey, "TaskNum", "3");
  try {
    LoadSettings(reg, settings);
    FAIL();
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'TaskNum'");
  }
  // What was written before the failure stays written.
  EXPECT_EQ(Dword("tishi"), 60u);
  EXPECT_EQ(Text("TaskNum"), "3");
}

TEST_F(StoreTest, LoadFailureTexts) {
  struct Case { const char* name; RawValue value; const char* error; };
  const Case cases[] = {
      {"shutapp", {kRegSz, {'1', 0}}, "Invalid data type for 'shutapp'"},
      {"soundpath", {kRegDword, {1, 0, 0, 0}}, "Invalid data type for 'soundpath'"},
      {"tishi", {kRegBinary, {60}}, "Invalid data type for 'tishi'"},
      {"tishi", {kRegDword, {60}}, "Failed to get data for 'tishi'"},
  };
  for (const Case& c : cases) {
    MemoryRegistry r;
    r.Put(kKey, c.name, c.value);
    Settings s;
    try {
      LoadSettings(r, s);
      ADD_FAILURE() << c.name;
    } catch (const RegistryError& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
  }
  MemoryRegistry r;
  r.fail_writes = true;
  Settings s;
  EXPECT_THROW(LoadSettings(r, s), RegistryError);
}

TEST_F(StoreTest, AppendWritesTaskNumBeforeTheSlot) {
  Seed(0);
  EXPECT_EQ(AppendTask(reg, settings, {"每天12时0分", "提醒", "午饭"}), 1);
  EXPECT_EQ(reg.log, (std::vector<std::string>{"write TaskNum", "write A1", "write B1", "write C1"}));
  EXPECT_EQ(settings.TaskNum, 1);
  EXPECT_EQ(Dword("TaskNum"), 1u);
  EXPECT_EQ(Text("A1"), "每天12时0分");
}

TEST_F(StoreTest, RewriteKeepsTaskNum) {
  Seed(2);
  RewriteTask(reg, 2, {"x", "y", "z"});
  EXPECT_EQ(Slots(), (std::vector<std::string>{"S1|T1|C1", "x|y|z"}));
  EXPECT_EQ(Dword("TaskNum"), 2u);
}

TEST_F(StoreTest, DeleteMovesHigherSlotsDown) {
  struct Case { int count; int k; std::vector<std::string> left; };
  const Case cases[] = {
      {3, 2, {"S1|T1|C1", "S3|T3|C3"}},
      {3, 3, {"S1|T1|C1", "S2|T2|C2"}},
      {3, 1, {"S2|T2|C2", "S3|T3|C3"}},
      {1, 1, {}},
  };
  for (const Case& c : cases) {
    reg = MemoryRegistry();
    Seed(c.count);
    EXPECT_TRUE(DeleteTask(reg, settings, c.k));
    EXPECT_EQ(Slots(), c.left) << c.count << "/" << c.k;
    EXPECT_EQ(Text(SlotValueName('A', c.count)), "(missing)");
    EXPECT_EQ(Text(SlotValueName('C', c.count)), "(missing)");
    EXPECT_EQ(Dword("TaskNum"), static_cast<uint32_t>(c.count - 1));
    EXPECT_EQ(reg.CurrentKey(), "");  // closed
  }
}

TEST_F(StoreTest, DeleteMovesAnEmptySlotLikeAnyOther) {
  Seed(3);
  reg.Put(kKey, "A2", RawValue{kRegSz, {0}});
  reg.OpenKey(kProgramKeyPath, true);
  reg.DeleteValue("B2");
  reg.DeleteValue("C2");
  EXPECT_TRUE(DeleteTask(reg, settings, 1));
  EXPECT_EQ(Slots(), (std::vector<std::string>{"||", "S3|T3|C3"}));
}

TEST_F(StoreTest, SlotTenIsNotSlotOne) {
  Seed(10);
  EXPECT_EQ(Text("A10"), "S10");
  EXPECT_EQ(Text("A1"), "S1");
  EXPECT_TRUE(DeleteTask(reg, settings, 1));
  EXPECT_EQ(Text("A9"), "S10");
  EXPECT_EQ(Text("A10"), "(missing)");
  EXPECT_EQ(Text("A1"), "S2");
}

TEST_F(StoreTest, StaleSlotNumbersChangeNothing) {
  Seed(2);
  for (int k : {0, -1, 3, 100}) {
    EXPECT_FALSE(DeleteTask(reg, settings, k));
  }
  EXPECT_TRUE(reg.log.empty());
  EXPECT_EQ(Slots(), (std::vector<std::string>{"S1|T1|C1", "S2|T2|C2"}));
  reg = MemoryRegistry();
  Seed(0);
  EXPECT_FALSE(DeleteTask(reg, settings, 1));
  EXPECT_EQ(settings.TaskNum, 0);
}

TEST_F(StoreTest, SaveOptionsWritesSoundPathOnlyWhenChanged) {
  Seed(0);
  SaveOptions(reg, settings, {30, "", false, false}, "C:\\M.exe");
  EXPECT_EQ(reg.log, (std::vector<std::string>{"write tishi", "write shutapp"}));
  EXPECT_EQ(settings.tishi, 30);
  reg.log.clear();
  SaveOptions(reg, settings, {30, "C:\\s.wav", true, false}, "C:\\M.exe");
  EXPECT_EQ(reg.log, (std::vector<std::string>{"write tishi", "write soundpath", "write shutapp"}));
  EXPECT_EQ(settings.soundpath, "C:\\s.wav");
  EXPECT_EQ(settings.shutapp, 1);
  EXPECT_EQ(Dword("shutapp"), 1u);
  EXPECT_EQ(reg.CurrentKey(), "");
}

TEST_F(StoreTest, AutostartEntryOnOffReplacedAndQuoted) {
  Seed(0);
  const std::string plain = "C:\\Tools\\Morrowick.exe";
  const std::string blank = "C:\\Program Files\\Morrowick\\Morrowick.exe";
  EXPECT_FALSE(ReadAutostart(reg, plain));

  SaveOptions(reg, settings, {60, "", false, true}, plain);
  EXPECT_TRUE(ReadAutostart(reg, plain));
  EXPECT_EQ(reg.Get(kRun, "Pellidor")->data.size(), plain.size() + 1);

  reg.PutString(kRun, "Pellidor", "D:\\other\\Morrowick.exe");  // another copy of the program
  EXPECT_FALSE(ReadAutostart(reg, plain));
  SaveOptions(reg, settings, {60, "", false, true}, plain);
  EXPECT_TRUE(ReadAutostart(reg, plain));

  SaveOptions(reg, settings, {60, "", false, false}, plain);
  EXPECT_FALSE(reg.Get(kRun, "Pellidor").has_value());
  EXPECT_FALSE(ReadAutostart(reg, plain));

  SaveOptions(reg, settings, {60, "", false, true}, blank);
  auto v = reg.Get(kRun, "Pellidor");
  ASSERT_TRUE(v);
  EXPECT_EQ(std::string(v->data.begin(), v->data.end() - 1), "\"" + blank + "\"");
  EXPECT_TRUE(ReadAutostart(reg, blank));
  reg.PutString(kRun, "Pellidor", blank);  // written unquoted by an older copy: still on
  EXPECT_TRUE(ReadAutostart(reg, blank));
  reg.PutString(kRun, "Pellidor", "c:\\program files\\morrowick\\morrowick.exe");
  EXPECT_FALSE(ReadAutostart(reg, blank));  // case-sensitive comparison
}

}  // namespace
}  // namespace morrowick
