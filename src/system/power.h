// The power actions: the one place that ends or suspends the user's session.
#pragma once

#include <cstdint>
#include <string>

namespace morrowick {

class DialupPort;
class Prompter;

// ExitWindowsEx flags: the three session actions all force other programs to end.
constexpr uint32_t kExitLogOffForced = 4;     // EWX_LOGOFF 0 + EWX_FORCE 4
constexpr uint32_t kExitRebootForced = 6;     // EWX_REBOOT 2 + EWX_FORCE 4
constexpr uint32_t kExitPowerOffForced = 12;  // EWX_POWEROFF 8 + EWX_FORCE 4

// NtShutdownSystem actions.
constexpr uint32_t kShutdownReboot = 1;
constexpr uint32_t kShutdownPowerOff = 2;

// The three system calls behind the power actions; abstract so the table can be
// tested without ending a session. Results are not examined.
class PowerPort {
 public:
  virtual ~PowerPort() = default;
  virtual void ExitWindowsEx(uint32_t flags) = 0;  // reserved argument 0
  virtual void SetSystemPowerState(bool suspend, bool force) = 0;
  virtual void NtShutdownSystem(uint32_t action) = 0;
};

// The seven power operations, each one call with fixed arguments. The tray items
// n6, n7, n8, n9, n10, n18 and n19 call these directly: no countdown, sound or sweep.
void PowerLogOff(PowerPort& power);         // "注销"
void PowerStandby(PowerPort& power);        // "待机"
void PowerHibernate(PowerPort& power);      // "休眠"
void PowerRestart(PowerPort& power);        // "重启"
void PowerShutDown(PowerPort& power);       // "关机"
void PowerFastRestart(PowerPort& power);    // "快速重启"
void PowerFastShutdown(PowerPort& power);   // "快速关机"

// Performs the operation whose word equals `word` byte for byte; "断开拨号" hangs up
// the dial-up connection. Any other text, the empty one included, does nothing.
void PerformPendingAction(const std::string& word, PowerPort& power, DialupPort& dialup,
                          Prompter& prompter);

}  // namespace morrowick
