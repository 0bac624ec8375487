#include "system/power.h"

#include "system/dialup.h"

namespace morrowick {

void PowerLogOff(PowerPort& power) { power.ExitWindowsEx(kExitLogOffForced); }
void PowerStandby(PowerPort& power) { power.SetSystemPowerState(true, true); }
void PowerHibernate(PowerPort& power) { power.SetSystemPowerState(false, true); }
void PowerRestart(PowerPort& power) { power.ExitWindowsEx(kExitRebootForced); }
void PowerShutDown(PowerPort& power) { power.ExitWindowsEx(kExitPowerOffForced); }
void PowerFastRestart(PowerPort& power) { power.NtShutdownSystem(kShutdownReboot); }
void PowerFastShutdown(PowerPort& power) { power.NtShutdownSystem(kShutdownPowerOff); }

namespace {

struct ActionRow {
  const char* word;
  void (*perform)(PowerPort&);  // null: the dial-up hang-up
};

// In this order; every word is compared, and since they differ at most one acts.
constexpr ActionRow kActions[] = {
    {"注销", PowerLogOff},       {"待机", PowerStandby},        {"休眠", PowerHibernate},
    {"重启", PowerRestart},      {"关机", PowerShutDown},       {"断开拨号", nullptr},
    {"快速重启", PowerFastRestart}, {"快速关机", PowerFastShutdown},
};

}  // namespace

void PerformPendingAction(const std::string& word, PowerPort& power, DialupPort& dialup,
                          Prompter& prompter) {
  for (const ActionRow& row : kActions) {
    if (word != row.word) continue;
    if (row.perform != nullptr) {
      row.perform(power);
    } else {
      HangUpDialup(dialup, prompter);
    }
  }
}

}  // namespace morrowick
