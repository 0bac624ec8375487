#include "store/store.h"

namespace morrowick {

std::string SlotValueName(char letter, int32_t slot) {
  return std::string(1, letter) + std::to_string(slot);
}

void OpenProgramKey(RegistryAccessor& reg) {
  reg.SetRootKey(RootKey::LocalMachine);
  reg.OpenKey(kProgramKeyPath, true);
}

void LoadSettings(RegistryAccessor& reg, Settings& settings) {
  settings = Settings{};
  OpenProgramKey(reg);
  auto integer = [&reg](const char* name, int32_t& value) {
    if (reg.ValueExists(name)) {
      value = reg.ReadInteger(name);
    } else {
      reg.WriteInteger(name, value);
    }
  };
  integer("shutapp", settings.shutapp);
  if (reg.ValueExists("soundpath")) {
    settings.soundpath = reg.ReadString("soundpath");
  } else {
    reg.WriteString("soundpath", settings.soundpath);
  }
  integer("tishi", settings.tishi);
  integer("TaskNum", settings.TaskNum);
}

TaskTexts ReadTask(RegistryAccessor& reg, int32_t slot) {
  TaskTexts task;
  task.schedule = reg.ReadString(SlotValueName('A', slot));
  task.type = reg.ReadString(SlotValueName('B', slot));
  task.argument = reg.ReadString(SlotValueName('C', slot));
  return task;
}

static void WriteTask(RegistryAccessor& reg, int32_t slot, const TaskTexts& task) {
  reg.WriteString(SlotValueName('A', slot), task.schedule);
  reg.WriteString(SlotValueName('B', slot), task.type);
  reg.WriteString(SlotValueName('C', slot), task.argument);
}

int32_t AppendTask(RegistryAccessor& reg, Settings& settings, const TaskTexts& task) {
  settings.TaskNum += 1;
  reg.WriteInteger("TaskNum", settings.TaskNum);
  const int32_t slot = settings.TaskNum;
  WriteTask(reg, slot, task);
  return slot;
}

void RewriteTask(RegistryAccessor& reg, int32_t slot, const TaskTexts& task) {
  WriteTask(reg, slot, task);
}

bool DeleteTask(RegistryAccessor& reg, Settings& settings, int32_t slot) {
  if (slot < 1 || slot > settings.TaskNum) return false;
  OpenProgramKey(reg);
  for (int32_t j = slot + 1; j <= settings.TaskNum; ++j) {
    WriteTask(reg, j - 1, ReadTask(reg, j));
  }
  reg.DeleteValue(SlotValueName('A', settings.TaskNum));
  reg.DeleteValue(SlotValueName('B', settings.TaskNum));
  reg.DeleteValue(SlotValueName('C', settings.TaskNum));
  settings.TaskNum -= 1;
  reg.WriteInteger("TaskNum", settings.TaskNum);
  reg.CloseKey();
  return true;
}

std::string AutostartText(const std::string& exe_path) {
  if (exe_path.find(' ') == std::string::npos) return exe_path;
  return "\"" + exe_path + "\"";
}

void SaveOptions(RegistryAccessor& reg, Settings& settings, const Options& options,
                 const std::string& exe_path) {
  OpenProgramKey(reg);
  settings.tishi = options.tishi;
  reg.WriteInteger("tishi", options.tishi);
  if (options.soundpath != settings.soundpath) {
    settings.soundpath = options.soundpath;
    reg.WriteString("soundpath", options.soundpath);
  }
  settings.shutapp = options.shutapp ? 1 : 0;
  reg.WriteInteger("shutapp", settings.shutapp);
  reg.OpenKey(kRunKeyPath, true);
  if (reg.ValueExists(kAutostartValue)) reg.DeleteValue(kAutostartValue);
  if (options.autostart) reg.WriteString(kAutostartValue, AutostartText(exe_path));
  reg.CloseKey();
}

bool ReadAutostart(RegistryAccessor& reg, const std::string& exe_path) {
  reg.SetRootKey(RootKey::LocalMachine);
  reg.OpenKey(kRunKeyPath, true);
  bool on = false;
  if (reg.ValueExists(kAutostartValue)) {
    const std::string text = reg.ReadString(kAutostartValue);
    on = text == exe_path || text == "\"" + exe_path + "\"";
  }
  reg.CloseKey();
  return on;
}

}  // namespace morrowick
