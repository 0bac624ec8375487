// The power calls as the system makes them.
#pragma once

#include "system/power.h"
#include "system/system_library_win32.h"

namespace morrowick {

class PowerWin32 final : public PowerPort {
 public:
  void ExitWindowsEx(uint32_t flags) override;
  void SetSystemPowerState(bool suspend, bool force) override;
  void NtShutdownSystem(uint32_t action) override;

 private:
  SystemLibrary ntdll_{"ntdll.dll"};
};

}  // namespace morrowick
