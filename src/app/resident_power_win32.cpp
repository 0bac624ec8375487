// The tray menu's power items: each performs its action at once, with the same call as
// the countdown's action of that name; no countdown, no sound, no closing of programs,
// whether monitoring is on or off and while a countdown runs.
#include "app/resident_countdown_win32.h"
#include "app/resident_win32.h"
#include "system/power.h"

namespace morrowick {

void TForm1::n6Click() { PowerLogOff(Job().power); }
void TForm1::n7Click() { PowerStandby(Job().power); }
void TForm1::n8Click() { PowerHibernate(Job().power); }
void TForm1::n9Click() { PowerRestart(Job().power); }
void TForm1::n10Click() { PowerShutDown(Job().power); }
void TForm1::n18Click() { PowerFastRestart(Job().power); }
void TForm1::n19Click() { PowerFastShutdown(Job().power); }

}  // namespace morrowick
