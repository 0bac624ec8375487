#include "scheduler/monitoring.h"

namespace morrowick {

void MonitoringSwitch::N1Click() {
  if (!n1_.Checked()) {
    timer1_.SetEnabled(true);
    n1_.SetChecked(true);
    tray_.Modify(TrayPicture::Enabled, kTipEnabled);
  } else {
    timer1_.SetEnabled(false);
    n1_.SetChecked(false);
    tray_.Modify(TrayPicture::Disabled, kTipDisabled);
  }
}

}  // namespace morrowick
