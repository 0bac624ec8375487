// The store's shared steps on the program key: settings, numbered task slots, options
// and the autostart entry. Every routine that touches the program key opens it itself.
#pragma once

#include <cstdint>
#include <string>

#include "store/registry.h"
#include "store/state.h"

namespace morrowick {

inline constexpr char kProgramKeyPath[] = "\\Software\\Quorvane\\Morrowick";
inline constexpr char kRunKeyPath[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kAutostartValue[] = "Pellidor";

// "A" + 12 -> "A12": decimal, without sign or padding.
std::string SlotValueName(char letter, int32_t slot);

struct TaskTexts {
  std::string schedule;  // A n
  std::string type;      // B n
  std::string argument;  // C n
};

void OpenProgramKey(RegistryAccessor& reg);
// Sets the settings to their initial values, opens the program key and, for shutapp,
// soundpath, tishi and TaskNum in this order, reads each present value or writes the
// initial value of a missing one. Leaves the key open.
void LoadSettings(RegistryAccessor& reg, Settings& settings);

// Reads slot n's three texts (missing values read as empty) through the open key.
TaskTexts ReadTask(RegistryAccessor& reg, int32_t slot);
// TaskNum + 1 first (memory, then store), then A, B, C of the new slot. Returns the slot.
int32_t AppendTask(RegistryAccessor& reg, Settings& settings, const TaskTexts& task);
void RewriteTask(RegistryAccessor& reg, int32_t slot, const TaskTexts& task);
// Removes slot k, moving the higher slots down. A number outside 1..TaskNum changes
// nothing and returns false: removing the last slot for a stale number would lose a task.
bool DeleteTask(RegistryAccessor& reg, Settings& settings, int32_t slot);

struct Options {
  int32_t tishi = 60;
  std::string soundpath;
  bool shutapp = false;
  bool autostart = false;
};
// Saves the settings window's options; the in-memory settings change with the store.
void SaveOptions(RegistryAccessor& reg, Settings& settings, const Options& options,
                 const std::string& exe_path);

// The text the autostart entry holds for a program path: quoted when it has a blank, so
// the system cannot start another program at a shorter prefix of the path.
std::string AutostartText(const std::string& exe_path);
// On when the entry equals the path exactly or the path in double quotes.
bool ReadAutostart(RegistryAccessor& reg, const std::string& exe_path);

}  // namespace morrowick
