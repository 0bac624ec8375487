#include "system/power_win32.h"

namespace morrowick {
namespace {

// ntdll's native shutdown; its header is not part of the SDK, so it is found at run time.
using NtShutdownSystemPointer = LONG(NTAPI*)(ULONG action);

}  // namespace

// Results are not examined: a refused call leaves the program as it was.
void PowerWin32::ExitWindowsEx(uint32_t flags) { ::ExitWindowsEx(flags, 0); }

void PowerWin32::SetSystemPowerState(bool suspend, bool force) {
  ::SetSystemPowerState(suspend ? TRUE : FALSE, force ? TRUE : FALSE);
}

void PowerWin32::NtShutdownSystem(uint32_t action) {
  if (auto shutdown = ntdll_.Function<NtShutdownSystemPointer>("NtShutdownSystem")) {
    shutdown(action);
  }
}

}  // namespace morrowick
