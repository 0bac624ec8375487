// Process-wide state: owned by the resident window, passed by reference to the logic.
#pragma once

#include <cstdint>
#include <string>

namespace morrowick {

class RegistryAccessor;

// The four settings, held in memory for the life of the process.
// The initial values are also what start-up writes for a missing value.
struct Settings {
  int32_t shutapp = 0;     // 1: close all programs before standby or hibernate
  std::string soundpath;   // warning sound file; empty: no sound
  int32_t tishi = 60;      // countdown length in seconds
  int32_t TaskNum = 0;     // task slots in use: 1..TaskNum
};

struct AppState {
  RegistryAccessor* registry = nullptr;  // the one accessor, from start-up to close
  Settings settings;
  std::string PendingAction;  // one of the eight action words, or empty
  int ModifyFlag = 0;
};

}  // namespace morrowick
