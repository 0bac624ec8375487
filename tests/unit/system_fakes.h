// Fakes of the system-control ports that record what was asked of them.
#pragma once

#include <string>
#include <vector>

#include "scheduler/ports.h"
#include "system/dialup.h"
#include "system/power.h"

namespace morrowick::testing {

class FakePrompter : public Prompter {
 public:
  void ShowPrompt(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

// Lists `connections` with `status`; HangUp records the handle and returns hangUpResult.
class FakeDialup : public DialupPort {
 public:
  DialupConnections EnumerateConnections() override {
    ++enumerations;
    return connections;
  }
  uint32_t HangUp(DialupHandle connection) override {
    hungUp.push_back(connection);
    return hangUpResult;
  }
  void Autodial() override { ++autodials; }

  DialupConnections connections;
  uint32_t hangUpResult = 0;
  int enumerations = 0;
  std::vector<DialupHandle> hungUp;
  int autodials = 0;
};

// Records every call as text, e.g. "ExitWindowsEx(12)", "SetSystemPowerState(1,1)".
class FakePower : public PowerPort {
 public:
  void ExitWindowsEx(uint32_t flags) override {
    calls.push_back("ExitWindowsEx(" + std::to_string(flags) + ")");
  }
  void SetSystemPowerState(bool suspend, bool force) override {
    calls.push_back("SetSystemPowerState(" + std::to_string(suspend) + "," +
                    std::to_string(force) + ")");
  }
  void NtShutdownSystem(uint32_t action) override {
    calls.push_back("NtShutdownSystem(" + std::to_string(action) + ")");
  }
  std::vector<std::string> calls;
};

}  // namespace morrowick::testing
